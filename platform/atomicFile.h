#pragma once
#include <filesystem>
#include <optional>
#include <string>

// Whole-file reads and writes. A write goes to a hidden temporary file beside the target, is flushed
// to disk and renamed over the target, so a crash or kill at any moment leaves the old file or the new
// one, never a torn one. Answers false, with the target untouched, when anything fails.
bool WriteFileAtomically(const std::filesystem::path& target, const std::string& bytes);

// The whole file, or nullopt when it cannot be read (errorNumber gets the system's reason).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* errorNumber = nullptr);
