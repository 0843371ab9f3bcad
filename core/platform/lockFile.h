#pragma once
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

// Locks and marks shared by every machine that mounts the data folder. A lock is a file made with
// create-exclusive, which network file systems (NFS, SMB, sshfs) keep exclusive across clients, where
// advisory locks are often only local to each client. It names the machine and the process, so that
// one left by a process that died can be told from one in use.

struct TLockOwner {
    std::string Machine;
    long long Process = 0;
    std::time_t Since = 0; // 0: no date, or one out of range (a date never seen)
};

std::string ThisMachine();
TLockOwner ThisProcess();

// Who holds a lock or mark file; nullopt when there is none or it cannot be read.
std::optional<TLockOwner> ReadLockOwner(const std::filesystem::path& file);

// A process of this machine that has ended holds nothing; one of another machine is trusted for
// staleSeconds after the date it carries (0: for good). Marks only: a lock is judged by what this
// program has seen of it (TFileLock), never by another machine's clock.
bool OwnerStillThere(const TLockOwner& owner, int staleSeconds);

// Held from construction to destruction when Held(): made with create-exclusive, waiting up to
// waitMilliseconds for a holder to let go. A lock whose process ended on this machine, or that this
// program has seen unchanged for staleSeconds (whatever date it carries), is taken over, by one taker
// only. Held again by the same thread while it holds it (a store that writes a profile under it).
//
// What cannot be a lock is answered at once, without waiting: something planted in its place (a
// folder, a FIFO, a link, a file too big to be a lock) is left as it is, and Problem() names it; a
// lock that cannot be made (a read-only folder, a full disk) gives Problem() and Error() the reason.
class TFileLock {
public:
    TFileLock(std::filesystem::path file, int waitMilliseconds, int staleSeconds);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    bool Held() const { return m_held; }
    // Why the lock is not held (Portuguese, naming the lock); empty when it is.
    const std::string& Problem() const { return m_problem; }
    // The system's error number of a lock that could not be made; 0 otherwise.
    int Error() const { return m_error; }
    // Not held because a lock in use outlasted the wait.
    bool Busy() const { return m_busy; }

private:
    std::filesystem::path m_file;
    std::string m_owner; // the text this process wrote into the lock
    bool m_held = false;
    bool m_nested = false;
    bool m_busy = false;
    std::string m_problem;
    int m_error = 0;
};

// A mark left while a student does lessons: made (or replaced) by this process, removed by it at the
// end only when it is still its own.
bool PutMark(const std::filesystem::path& file);
void RemoveOwnMark(const std::filesystem::path& file);
