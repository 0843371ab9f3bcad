#pragma once
// A private folder for harnesses that go through files, on a memory file system where there is one
// (every settings write is flushed to disk, which a disk would make slow).
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        const auto path = base / ("vt-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path / files::LessonsFolder);
        std::filesystem::create_directories(path / files::UsersFolder);
        SetProgramFolder(path);
        SetHelpFileName(files::HelpFile);
        std::atexit([] {
            std::error_code e;
            std::filesystem::remove_all(ScratchFolder(), e);
        });
        return path;
    }();
    return folder;
}

inline std::filesystem::path WriteScratch(const std::string& name, const std::string& bytes) {
    const auto path = ScratchFolder() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

// A broken promise of the code under test: libFuzzer keeps the input that led here.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)
