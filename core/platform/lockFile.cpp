#include "core/platform/lockFile.h"

#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A lock holds a machine's name, a process number and a date: a few dozen bytes. A file much bigger
// was put there by someone else, and is never read.
constexpr std::uintmax_t kLargestLock = 4096;
// The latest date a lock may carry (the end of the year 9999); later, or before 1970, is no date.
constexpr long long kLatestDate = 253402300799LL;

std::string ownerText(const TLockOwner& owner) {
    return owner.Machine + "\n" + std::to_string(owner.Process) + "\n" +
           std::to_string(static_cast<long long>(owner.Since)) + "\n";
}

bool processAlive(long long process) {
#ifdef _WIN32
    if (process <= 0 || process > static_cast<long long>(UINT32_MAX))
        return false;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (!h)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return alive;
#else
    return process > 0 && process <= INT_MAX &&
           (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
#endif
}

std::optional<TLockOwner> parseOwner(const std::string& text) {
    TLockOwner owner;
    const auto first = text.find('\n');
    const auto second = first == std::string::npos ? std::string::npos : text.find('\n', first + 1);
    if (second == std::string::npos)
        return owner; // still being written, or torn: known only by what is seen of it
    owner.Machine = text.substr(0, first);
    errno = 0;
    char* end = nullptr;
    owner.Process = std::strtoll(text.c_str() + first + 1, &end, 10);
    if (errno == ERANGE)
        owner.Process = 0;
    errno = 0;
    const long long since = std::strtoll(text.c_str() + second + 1, &end, 10);
    owner.Since = errno == ERANGE || since < 0 || since > kLatestDate ? 0 : static_cast<std::time_t>(since);
    return owner;
}

// What is found where a lock belongs.
struct TLook {
    enum Kind { None, Lock, Planted } kind = None;
    std::string text;     // a lock's bytes
    std::string identity; // its bytes and the file's own marks: the same only for the same file unchanged
    std::string what;     // what was planted, in Portuguese
};

TLook look(const fs::path& file) {
    TLook seen;
    std::string marks;
#ifdef _WIN32
    std::error_code ec;
    const auto status = fs::symlink_status(file, ec);
    if (ec || !fs::exists(status))
        return seen;
    if (fs::is_symlink(status) || !fs::is_regular_file(status)) {
        seen.kind = TLook::Planted;
        seen.what = fs::is_symlink(status)     ? "um atalho (link)"
                    : fs::is_directory(status) ? "uma pasta"
                                               : "um arquivo especial";
        return seen;
    }
    const auto size = fs::file_size(file, ec);
    marks =
        std::to_string(size) + "|" + std::to_string(fs::last_write_time(file, ec).time_since_epoch().count());
    if (size > kLargestLock) {
        seen.kind = TLook::Planted;
        seen.what = "um arquivo grande demais para ser uma trava";
        return seen;
    }
#else
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0)
        return seen;
    if (!S_ISREG(st.st_mode)) {
        seen.kind = TLook::Planted;
        seen.what = S_ISLNK(st.st_mode)    ? "um atalho (link)"
                    : S_ISDIR(st.st_mode)  ? "uma pasta"
                    : S_ISFIFO(st.st_mode) ? "um FIFO"
                                           : "um arquivo especial";
        return seen;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > kLargestLock) {
        seen.kind = TLook::Planted;
        seen.what = "um arquivo grande demais para ser uma trava";
        return seen;
    }
    marks = std::to_string(st.st_ino) + "|" + std::to_string(st.st_size) + "|" +
            std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
#endif
    int error = 0;
    const auto text = ReadWholeFile(file, &error, kLargestLock);
    if (!text) {
        if (error == ENOENT)
            return seen; // let go of just now
        seen.kind = TLook::Planted;
        seen.what = error == EFBIG ? "um arquivo grande demais para ser uma trava"
                                   : "um arquivo que não pode ser lido (" + SystemErrorTextPt(error) + ")";
        return seen;
    }
    seen.kind = TLook::Lock;
    seen.text = *text;
    seen.identity = *text + "|" + marks;
    return seen;
}

// How long this program has seen each lock as it is now: a lock is judged by this machine's own
// steady clock, never by the date another machine's clock wrote into it.
std::mutex g_seenMutex;
std::map<std::string, std::pair<std::string, Clock::time_point>> g_seen;

double secondsSeenUnchanged(const fs::path& file, const std::string& identity) {
    const std::lock_guard<std::mutex> hold(g_seenMutex);
    auto& seen = g_seen[PathToUtf8(file)];
    const auto now = Clock::now();
    if (seen.first != identity)
        seen = {identity, now};
    return std::chrono::duration<double>(now - seen.second).count();
}

bool staleLock(const fs::path& file, const TLook& seen, int staleSeconds) {
    const auto owner = parseOwner(seen.text);
    if (owner && !owner->Machine.empty() && owner->Machine == ThisMachine() && !processAlive(owner->Process))
        return true;
    const double unchanged = secondsSeenUnchanged(file, seen.identity);
    return staleSeconds > 0 && unchanged >= staleSeconds;
}

// The lock's name as a user reads it: inside the data folder, from there.
std::string shownName(const fs::path& file) {
    const fs::path rel = file.lexically_normal().lexically_relative(ProgramFolder().lexically_normal());
    return PathToUtf8(!ProgramFolder().empty() && !rel.empty() && *rel.begin() != ".." ? rel : file);
}

// Removes the lock only while it is the file judged: it is moved aside (which one process alone can do
// to one file), and put back should it have turned out to be another.
void removeJudged(const fs::path& file, const TLook& judged) {
    fs::path aside;
    if (!MoveDataFileAside(file, aside))
        return;
    if (look(aside).identity == judged.identity || !PutDataFileBack(aside, file))
        RemoveDataFile(aside);
}

void removeIfOwn(const fs::path& file, const std::string& owner) {
    const auto text = ReadWholeFile(file, nullptr, kLargestLock);
    if (text && *text == owner)
        RemoveDataFile(file);
}

thread_local std::map<std::string, int> t_held; // the locks this thread holds, and how often

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
    const auto text = ReadWholeFile(file, nullptr, kLargestLock);
    if (!text)
        return std::nullopt;
    return parseOwner(*text);
}

bool OwnerStillThere(const TLockOwner& owner, int staleSeconds) {
    if (owner.Machine == ThisMachine() && !processAlive(owner.Process))
        return false;
    if (staleSeconds <= 0)
        return true;
    // A date never seen (none, or out of range) says nothing; a date ahead of this clock neither.
    const std::time_t now = std::time(nullptr);
    return owner.Since == 0 || owner.Since > now || now - owner.Since < staleSeconds;
}

TFileLock::TFileLock(fs::path file, int waitMilliseconds, int staleSeconds) : m_file(std::move(file)) {
    const std::string key = PathToUtf8(m_file.lexically_normal());
    if (const auto it = t_held.find(key); it != t_held.end()) {
        ++it->second;
        m_held = m_nested = true;
        return;
    }
    const auto giveUp = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    m_owner = ownerText(ThisProcess());
    const std::string name = shownName(m_file);
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        int error = 0;
        if (CreateFileExclusively(m_file, m_owner, &error)) {
            m_held = true;
            t_held[key] = 1;
            return;
        }
        if (error != EEXIST) { // a read-only folder, a full disk, a link on the way: no wait mends it
            m_error = error;
            m_problem = "A trava \"" + name + "\" não pôde ser feita: " + SystemErrorTextPt(error) + ".";
            return;
        }
        const TLook seen = look(m_file);
        if (seen.kind == TLook::Planted) {
            m_problem = "No lugar da trava \"" + name + "\" há " + seen.what +
                        ", que fica como está: nada espera por ela, e os arquivos do aluno são gravados "
                        "sem ela. Peça ao técnico que a remova.";
            return;
        }
        if (seen.kind == TLook::Lock && staleLock(m_file, seen, staleSeconds)) {
            // One taker at a time: the one that makes the take-over mark moves the stale lock away,
            // and every taker then competes for a new lock by create-exclusive again.
            fs::path guard = m_file;
            guard.replace_extension(".tomada");
            if (CreateFileExclusively(guard, m_owner, &error)) {
                if (look(m_file).identity == seen.identity)
                    removeJudged(m_file, seen);
                removeIfOwn(guard, m_owner);
                continue;
            }
            if (error != EEXIST) {
                m_error = error;
                m_problem =
                    "A trava \"" + name + "\" não pôde ser retomada: " + SystemErrorTextPt(error) + ".";
                return;
            }
            const TLook mark = look(guard);
            if (mark.kind == TLook::Planted) {
                m_problem = "No lugar de \"" + shownName(guard) + "\" há " + mark.what +
                            ", que fica como está; os arquivos do aluno são gravados sem a trava. Peça ao "
                            "técnico que a remova.";
                return;
            }
            if (mark.kind == TLook::Lock && staleLock(guard, mark, staleSeconds))
                removeJudged(guard, mark); // a taker killed half-way
        }
        if (Clock::now() >= giveUp) {
            m_busy = true;
            const auto owner = parseOwner(seen.text);
            m_problem =
                "A trava \"" + name + "\" continuou com " +
                (owner && !owner->Machine.empty() ? "o computador \"" + owner->Machine + "\" (processo " +
                                                        std::to_string(owner->Process) + ")"
                                                  : std::string("outro processo")) +
                " por todo o tempo de espera.";
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

TFileLock::~TFileLock() {
    if (m_nested) {
        const auto it = t_held.find(PathToUtf8(m_file.lexically_normal()));
        if (it != t_held.end() && --it->second == 0)
            t_held.erase(it);
        return;
    }
    if (!m_held)
        return;
    t_held.erase(PathToUtf8(m_file.lexically_normal()));
    // Taken over meanwhile (this process was judged gone): the new holder's lock stays.
    removeIfOwn(m_file, m_owner);
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
