#include "core/platform/lockFile.h"

#include "core/platform/atomicFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string ownerText(const TLockOwner& owner) {
    return owner.Machine + "\n" + std::to_string(owner.Process) + "\n" +
           std::to_string(static_cast<long long>(owner.Since)) + "\n";
}

bool sameOwner(const TLockOwner& a, const TLockOwner& b) {
    return a.Machine == b.Machine && a.Process == b.Process && a.Since == b.Since;
}

bool processAlive(long long process) {
#ifdef _WIN32
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (!h)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return alive;
#else
    return process > 0 && (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
#endif
}

} // namespace

std::string ThisMachine() {
#ifdef _WIN32
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string("?");
#else
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string("?");
#endif
}

TLockOwner ThisProcess() {
    TLockOwner owner;
    owner.Machine = ThisMachine();
#ifdef _WIN32
    owner.Process = static_cast<long long>(GetCurrentProcessId());
#else
    owner.Process = static_cast<long long>(::getpid());
#endif
    owner.Since = std::time(nullptr);
    return owner;
}

std::optional<TLockOwner> ReadLockOwner(const fs::path& file) {
    const auto text = ReadWholeFile(file, nullptr, 4096);
    if (!text)
        return std::nullopt;
    TLockOwner owner;
    const auto first = text->find('\n');
    const auto second = first == std::string::npos ? std::string::npos : text->find('\n', first + 1);
    if (second == std::string::npos)
        return owner; // still being written, or torn: known only by its age
    owner.Machine = text->substr(0, first);
    owner.Process = std::atoll(text->c_str() + first + 1);
    owner.Since = static_cast<std::time_t>(std::atoll(text->c_str() + second + 1));
    return owner;
}

bool OwnerStillThere(const TLockOwner& owner, int staleSeconds) {
    if (owner.Machine == ThisMachine() && !processAlive(owner.Process))
        return false;
    return staleSeconds <= 0 || std::time(nullptr) - owner.Since < staleSeconds;
}

TFileLock::TFileLock(fs::path file, int waitMilliseconds, int staleSeconds) : m_file(std::move(file)) {
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    const TLockOwner me = ThisProcess();
    for (;;) {
        if (CreateFileExclusively(m_file, ownerText(me))) {
            m_held = true;
            return;
        }
        // Held by someone: a holder that is gone lets go of it by the stale rule. The lock is taken
        // away only if it is still the one judged, so that a fresh one of another process stays.
        if (const auto holder = ReadLockOwner(m_file)) {
            TLockOwner judged = *holder;
            if (judged.Machine.empty()) { // not written yet: its age is what it has
                std::error_code ec;
                const auto age = fs::file_time_type::clock::now() - fs::last_write_time(m_file, ec);
                judged.Since =
                    ec ? std::time(nullptr)
                       : std::time(nullptr) - std::chrono::duration_cast<std::chrono::seconds>(age).count();
            }
            if (!OwnerStillThere(judged, staleSeconds)) {
                const auto again = ReadLockOwner(m_file);
                if (again && sameOwner(*again, *holder))
                    RemoveDataFile(m_file);
                if (Clock::now() < giveUp)
                    continue;
                return;
            }
        } else if (!DataPathProblem(m_file).empty()) {
            return; // a planted link: never waited on nor removed
        }
        if (Clock::now() >= giveUp)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TFileLock::~TFileLock() {
    if (m_held)
        RemoveDataFile(m_file);
}

bool PutMark(const fs::path& file) {
    return WriteFileAtomically(file, ownerText(ThisProcess()));
}

void RemoveOwnMark(const fs::path& file) {
    const auto owner = ReadLockOwner(file);
    const TLockOwner me = ThisProcess();
    if (owner && owner->Machine == me.Machine && owner->Process == me.Process)
        RemoveDataFile(file);
}
