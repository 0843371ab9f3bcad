#pragma once
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// On Windows the registry store is the real registry, which outlives a test: every test starts and
// ends without the keys the tests write.
inline void ClearTestRegistryKeys() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavoli Software");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Soft");
    RegDeleteValueA(HKEY_CURRENT_USER, "Direct");
}
#else
inline void ClearTestRegistryKeys() {}
#endif

// A temporary program folder for one test, removed afterwards.
class TestFolder {
public:
    TestFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("vt-core-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
        SetProgramFolder(path_);
        SetHelpFileName(files::HelpFile);
        CurrentSettingsFile.clear();
        ClearTestRegistryKeys();
    }
    ~TestFolder() {
        ClearTestRegistryKeys();
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    // Relative names are UTF-8, as the program keeps them (on Windows a plain string would be taken
    // in the system's code page).
    std::filesystem::path at(const std::string& relative) const { return path_ / PathFromUtf8(relative); }
    std::string file(const std::string& relative) const { return PathToUtf8(at(relative)); }
    std::string read(const std::string& relative) const {
        std::ifstream in(at(relative), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories(at(relative).parent_path());
        std::ofstream(at(relative), std::ios::binary) << bytes;
    }
    bool exists(const std::string& relative) const { return std::filesystem::exists(at(relative)); }

private:
    std::filesystem::path path_;
};

#ifndef _WIN32
#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Runs f in a child process: false when f failed (called _exit with another code than 0) or did not
// end within the time, which is how a hang becomes a failure instead of a test that never ends.
inline bool EndsInTime(const std::function<void()>& f, int seconds = 10) {
    const pid_t child = fork();
    if (child == 0) {
        f();
        _exit(0);
    }
    for (int waited = 0; waited < seconds * 100; ++waited) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return false;
}

// Kills a child that repeats work for ever at a moment drawn from random: after 0 to mostDone of its
// repetitions have ended, and then 0 to mostMicroseconds into the next, so that kills fall before,
// between and in the middle of repetitions however slow the machine is. False if it could not be killed
// (it had ended).
inline bool KillWhileRepeating(const std::function<void()>& work, std::mt19937& random, int mostDone,
                               int mostMicroseconds) {
    int done[2];
    if (pipe(done) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(done[0]);
        for (;;) {
            work();
            (void)!write(done[1], "d", 1);
        }
    }
    close(done[1]);
    char c;
    for (int i = std::uniform_int_distribution<int>(0, mostDone)(random); i > 0; --i)
        if (read(done[0], &c, 1) != 1)
            break;
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, mostMicroseconds)(random)));
    const bool killed = child > 0 && kill(child, SIGKILL) == 0;
    if (child > 0)
        waitpid(child, nullptr, 0);
    close(done[0]);
    return killed;
}
#endif
