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
    std::time_t Since = 0;
};

std::string ThisMachine();
TLockOwner ThisProcess();

// Who holds a lock or mark file; nullopt when there is none or it cannot be read.
std::optional<TLockOwner> ReadLockOwner(const std::filesystem::path& file);

// A process of this machine that has ended holds nothing; one of another machine is trusted for
// staleSeconds after it took the lock (0: for good).
bool OwnerStillThere(const TLockOwner& owner, int staleSeconds);

// Held from construction to destruction when Held(): made with create-exclusive, waiting up to
// waitMilliseconds for a holder to let go and taking over a lock whose owner is gone.
class TFileLock {
public:
    TFileLock(std::filesystem::path file, int waitMilliseconds, int staleSeconds);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    bool Held() const { return m_held; }

private:
    std::filesystem::path m_file;
    bool m_held = false;
};

// A mark left while a student does lessons: made (or replaced) by this process, removed by it at the
// end only when it is still its own.
bool PutMark(const std::filesystem::path& file);
void RemoveOwnMark(const std::filesystem::path& file);
