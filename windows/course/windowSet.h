#pragma once
#include "core/platform/dataPlaces.h"

#include <filesystem>

// Start-up: the program's identity, every window made once in the fixed order, the splash shown and
// the roster made while it is on screen. The caller then runs the event loop. A bare folder makes a
// portable program of it.
void SetUpProgram(const DataPlaces& places);
void SetUpProgram(const std::filesystem::path& programFolder);
void CreateWindowSet();
// Why the data lives in a folder other than the expected one (places.notice): on the terminal at every
// start, and in a message box above the splash once the event loop runs: at every start when the folder
// named in VELOTECLA_DADOS cannot be used, otherwise on the user's first start there.
void TellDataPlaces(const DataPlaces& places, bool firstStart);

// Tests make the window set more than once in one process; the program never calls this.
void DestroyWindowSet();
