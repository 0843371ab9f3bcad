#include "core/platform/atomicFile.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <thread>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::function<void(const std::string&)> g_problemSink;

void tellProblem(const std::string& text) {
    if (g_problemSink && !text.empty())
        g_problemSink(text);
}

// The path relative to the data folder, or empty when it lies outside it.
fs::path insideDataFolder(const fs::path& path) {
    const fs::path& root = ProgramFolder();
    if (root.empty())
        return {};
    fs::path rel = path.lexically_normal().lexically_relative(root.lexically_normal());
    if (rel.empty() || rel == "." || *rel.begin() == "..")
        return {};
    return rel;
}

std::string linkMessage(const fs::path& relative) {
    return "A entrada \"" + PathToUtf8(relative.lexically_normal()) + "\" da pasta de dados " +
           PathToUtf8(ProgramFolder()) +
           " é um link (atalho) e não é usada: nada é lido ou gravado através dela, e ela fica como está. "
           "Peça ao técnico que a remova.";
}

// Leading dot: the roster lists no hidden file, so a temporary left by a kill never shows as a student.
fs::path temporaryFor(const fs::path& name) {
    static std::mt19937_64 rng{std::random_device{}()};
#ifndef _WIN32
    // A forked process would draw the very names its parent draws.
    static pid_t drawnBy = ::getpid();
    if (drawnBy != ::getpid()) {
        drawnBy = ::getpid();
        rng.seed(std::random_device{}());
    }
#endif
    char suffix[20];
    std::snprintf(suffix, sizeof suffix, ".%012llx",
                  static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
    fs::path temp = fs::path(".");
    temp += name;
    temp += suffix;
    temp += ".tmp";
    return temp;
}

// ".<name>.<12 lower-case hex digits>.tmp", as temporaryFor makes them.
bool isOurTemporary(const std::string& name) {
    constexpr std::size_t tail = 17; // ".<12 hex>.tmp"
    if (name.size() < 1 + 1 + tail || name.front() != '.' || !name.ends_with(".tmp"))
        return false;
    const std::size_t dot = name.size() - tail;
    if (name[dot] != '.')
        return false;
    for (std::size_t i = dot + 1; i < dot + 13; ++i)
        if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'f')))
            return false;
    return true;
}

} // namespace

std::string DataPathProblem(const fs::path& path) {
    const fs::path rel = insideDataFolder(path);
    fs::path walked;
    for (const fs::path& part : rel) {
        walked /= part;
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(ProgramFolder() / walked, ec)))
            return linkMessage(walked);
    }
    return {};
}

void SetDataProblemSink(std::function<void(const std::string&)> sink) {
    g_problemSink = std::move(sink);
}

#ifdef _WIN32

bool WriteFileAtomically(const fs::path& target, const std::string& bytes) {
    if (const std::string problem = DataPathProblem(target); !problem.empty()) {
        tellProblem(problem);
        return false;
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    const fs::path temp = target.parent_path() / temporaryFor(target.filename());
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok =
        bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    ok = ok && FlushFileBuffers(h);
    CloseHandle(h);
    if (ok) {
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok)
        DeleteFileW(temp.c_str());
    return ok;
}

bool ReadDataFile(const fs::path& path, int* errorNumber, std::uintmax_t maxBytes,
                  const std::function<void(const char*, std::size_t)>& chunk) {
    const auto fail = [&](int error) {
        if (errorNumber)
            *errorNumber = error;
        return false;
    };
    if (const std::string problem = DataPathProblem(path); !problem.empty()) {
        tellProblem(problem);
        return fail(ELOOP);
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status))
        return fail(ec ? ec.value() : fs::is_directory(status) ? EISDIR : EINVAL);
    if (fs::file_size(path, ec) > maxBytes && !ec)
        return fail(EFBIG);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(ENOENT);
    std::uintmax_t total = 0;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        total += static_cast<std::uintmax_t>(in.gcount());
        if (total > maxBytes)
            return fail(EFBIG);
        chunk(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        return fail(EIO);
    return true;
}

bool AppendToFile(const fs::path& file, const std::string& text, const std::string& firstText,
                  const std::function<std::string(char)>& join) {
    if (const std::string problem = DataPathProblem(file); !problem.empty()) {
        tellProblem(problem);
        return false;
    }
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    std::string out;
    bool ok = GetFileSizeEx(h, &size) != 0;
    if (ok && size.QuadPart == 0) {
        out = firstText + text;
    } else if (ok) {
        LARGE_INTEGER last{};
        last.QuadPart = size.QuadPart - 1;
        char c = 0;
        DWORD got = 0;
        ok = SetFilePointerEx(h, last, nullptr, FILE_BEGIN) && ReadFile(h, &c, 1, &got, nullptr) && got == 1;
        out = join(c) + text;
    }
    DWORD written = 0;
    ok = ok && WriteFile(h, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) &&
         written == out.size() && FlushFileBuffers(h);
    CloseHandle(h);
    return ok;
}

bool CreateFileExclusively(const fs::path& file, const std::string& bytes, int* errorNumber) {
    const auto fail = [&](int error) {
        if (errorNumber)
            *errorNumber = error;
        return false;
    };
    if (const std::string problem = DataPathProblem(file); !problem.empty()) {
        tellProblem(problem);
        return fail(ELOOP);
    }
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return fail(error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? EEXIST
                    : error == ERROR_DISK_FULL                                  ? ENOSPC
                    : error == ERROR_ACCESS_DENIED                              ? EACCES
                                                                                : EIO);
    }
    DWORD written = 0;
    const bool ok =
        bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    CloseHandle(h);
    if (!ok) {
        DeleteFileW(file.c_str());
        return fail(ENOSPC);
    }
    return true;
}

bool MoveDataFileAside(const fs::path& file, fs::path& aside) {
    if (!DataPathProblem(file).empty())
        return false;
    const fs::path to = file.parent_path() / temporaryFor(file.filename());
    if (!MoveFileExW(file.c_str(), to.c_str(), 0))
        return false;
    aside = to;
    return true;
}

bool PutDataFileBack(const fs::path& aside, const fs::path& file) {
    return MoveFileExW(aside.c_str(), file.c_str(), 0) != 0;
}

std::optional<TFileEnd> ReadDataFileEnd(const fs::path& file, std::size_t count, int* errorNumber) {
    TFileEnd end;
    int error = 0;
    std::string tail;
    if (!ReadDataFile(file, &error, std::numeric_limits<std::uintmax_t>::max(),
                      [&](const char* bytes, std::size_t n) {
                          end.Size += n;
                          tail.append(bytes, n);
                          if (tail.size() > count)
                              tail.erase(0, tail.size() - count);
                      })) {
        if (errorNumber)
            *errorNumber = error;
        return std::nullopt;
    }
    end.Last = tail;
    return end;
}

bool RemoveDataFile(const fs::path& file) {
    if (!DataPathProblem(file.parent_path()).empty())
        return false;
    return DeleteFileW(file.c_str()) != 0;
}

bool MakeDataFolder(const fs::path& folder) {
    if (const std::string problem = DataPathProblem(folder); !problem.empty()) {
        tellProblem(problem);
        return false;
    }
    std::error_code ec;
    fs::create_directory(folder, ec);
    return fs::is_directory(folder, ec);
}

#else

namespace {

// A file descriptor closed when it goes out of scope.
struct Fd {
    int fd = -1;
    Fd() = default;
    explicit Fd(int f) : fd(f) {}
    Fd(Fd&& other) noexcept : fd(other.fd) { other.fd = -1; }
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            fd = other.fd;
            other.fd = -1;
        }
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    void reset() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

bool isLinkAt(int folder, const char* name) {
    struct stat st {};
    return ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// The folder holding `path`. Inside the data folder it is reached from the data folder's handle, one
// folder at a time, never through a link (`inside` tells which; a link met is told to the sink).
// A path naming no file (a folder's "x/") has none: EISDIR.
Fd openFolderOf(const fs::path& path, bool& inside) {
    inside = false;
    if (path.filename().empty()) {
        errno = EISDIR;
        return Fd();
    }
    const fs::path rel = insideDataFolder(path);
    inside = !rel.empty();
    if (!inside) {
        const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
        return Fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    Fd fd(::open(ProgramFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    fs::path walked;
    for (const fs::path& part : rel.parent_path()) {
        if (fd.fd < 0)
            break;
        walked /= part;
        Fd next(::openat(fd.fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.fd < 0) {
            const int error = errno;
            if (isLinkAt(fd.fd, part.c_str()))
                tellProblem(linkMessage(walked));
            errno = error;
        }
        fd = std::move(next);
    }
    return fd;
}

// In a folder shared by a group (set-group-id) what is made there belongs to the group: its group,
// read and write for it whatever the umask, and for others no more than the folder allows them.
void shareAsFolderIs(int fd, const struct stat& folder, bool isFolder) {
    if ((folder.st_mode & S_ISGID) == 0)
        return;
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return;
    if (now.st_gid != folder.st_gid)
        (void)!::fchown(fd, static_cast<uid_t>(-1), folder.st_gid);
    mode_t mode = isFolder ? (now.st_mode & 07777) | 02770 : (now.st_mode & 0777) | 0660;
    mode = (mode & ~static_cast<mode_t>(0007)) | (mode & folder.st_mode & 0005);
    if (mode != (now.st_mode & 07777) || now.st_gid != folder.st_gid)
        (void)::fchmod(fd, mode);
}

// A file in a folder, never a link inside the data folder, never waited on (a FIFO).
Fd openFileIn(int folder, const fs::path& path, bool inside, int flags, mode_t mode = 0) {
    const fs::path name = path.filename();
    Fd fd(::openat(folder, name.c_str(), flags | O_NONBLOCK | O_CLOEXEC | (inside ? O_NOFOLLOW : 0), mode));
    if (fd.fd < 0 && inside) {
        const int error = errno;
        if (isLinkAt(folder, name.c_str()))
            tellProblem(linkMessage(insideDataFolder(path)));
        errno = error;
    }
    return fd;
}

// A regular file opened for reading, and its status; fd < 0 with error set when it is not one.
Fd openRegularFile(const fs::path& path, struct stat& st, int& error) {
    bool inside = false;
    const Fd folder = openFolderOf(path, inside);
    if (folder.fd < 0) {
        error = errno;
        return Fd();
    }
    Fd fd = openFileIn(folder.fd, path, inside, O_RDONLY);
    if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0) {
        error = errno;
        return Fd();
    }
    if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return Fd();
    }
    return fd;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const fs::path& target, const std::string& bytes) {
    const fs::path name = target.filename();
    bool inside = false;
    const Fd folder = openFolderOf(target, inside);
    if (folder.fd < 0)
        return false;
    // An existing target must be a regular file that may be written: the rename alone would replace a
    // read-only file too, and the superuser passes every access check, so its mode is asked directly.
    struct stat old {};
    const bool exists = ::fstatat(folder.fd, name.c_str(), &old, inside ? AT_SYMLINK_NOFOLLOW : 0) == 0;
    if (exists && S_ISLNK(old.st_mode)) {
        tellProblem(linkMessage(insideDataFolder(target)));
        return false;
    }
    struct stat where {};
    const bool folderKnown = ::fstat(folder.fd, &where) == 0;
    // In a folder shared by a group, a file of the group that only its owner may write (made by an
    // earlier version under a strict umask) is the group's to replace all the same.
    const bool groupsOwn = folderKnown && (where.st_mode & S_ISGID) != 0 && exists &&
                           old.st_gid == where.st_gid && (old.st_mode & 0200) != 0;
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 ||
                   (::faccessat(folder.fd, name.c_str(), W_OK, 0) != 0 && !groupsOwn))) {
        errno = S_ISDIR(old.st_mode) ? EISDIR : S_ISREG(old.st_mode) ? EACCES : EINVAL;
        return false;
    }
    // A name already taken (a temporary a kill left, or one of another process) is never reused.
    fs::path temp = temporaryFor(name);
    int fd = ::openat(folder.fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    for (int tries = 0; fd < 0 && errno == EEXIST && tries < 8; ++tries) {
        temp = temporaryFor(name);
        fd = ::openat(folder.fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    }
    if (fd < 0)
        return false;
    // The new file keeps the permissions, and where allowed the owner, that the old one had.
    if (exists) {
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)!::fchown(fd, old.st_uid, old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    if (folderKnown)
        shareAsFolderIs(fd, where, false);
    bool ok = writeAll(fd, bytes);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::renameat(folder.fd, temp.c_str(), folder.fd, name.c_str()) == 0;
    if (!ok) {
        const int error = errno; // the reason told to the user, not the clean-up's
        ::unlinkat(folder.fd, temp.c_str(), 0);
        errno = error;
        return false;
    }
    // The rename itself must reach the disk too.
    (void)::fsync(folder.fd);
    return true;
}

bool ReadDataFile(const fs::path& path, int* errorNumber, std::uintmax_t maxBytes,
                  const std::function<void(const char*, std::size_t)>& chunk) {
    const auto fail = [&](int error) {
        if (errorNumber)
            *errorNumber = error ? error : EIO;
        return false;
    };
    struct stat st {};
    int error = 0;
    const Fd fd = openRegularFile(path, st, error);
    if (fd.fd < 0)
        return fail(error);
    // Never more than the cap read, nor a wait longer than reading it takes.
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        return fail(EFBIG);
    std::uintmax_t total = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            break;
        total += static_cast<std::uintmax_t>(n);
        if (total > maxBytes)
            return fail(EFBIG);
        chunk(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

bool AppendToFile(const fs::path& file, const std::string& text, const std::string& firstText,
                  const std::function<std::string(char)>& join) {
    bool inside = false;
    const Fd folder = openFolderOf(file, inside);
    if (folder.fd < 0)
        return false;
    // Made here: it gets its first text, which nobody else can be writing at the same time.
    Fd fd = openFileIn(folder.fd, file, inside, O_RDWR | O_APPEND | O_CREAT | O_EXCL, 0666);
    const bool made = fd.fd >= 0;
    if (made) {
        struct stat where {};
        if (::fstat(folder.fd, &where) == 0)
            shareAsFolderIs(fd.fd, where, false);
    } else if (errno == EEXIST) {
        fd = openFileIn(folder.fd, file, inside, O_RDWR | O_APPEND);
    }
    if (fd.fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::string out;
    char last = 0;
    if (st.st_size == 0)
        out = firstText + text;
    else if (::pread(fd.fd, &last, 1, st.st_size - 1) == 1)
        out = join(last) + text;
    else
        return false;
    // One write: a kill leaves the line whole or absent, and a failure half-way is taken back.
    if (!writeAll(fd.fd, out) || ::fsync(fd.fd) != 0) {
        struct stat after {};
        if (::fstat(fd.fd, &after) == 0 && after.st_size > st.st_size)
            (void)!::ftruncate(fd.fd, st.st_size);
        return false;
    }
    return true;
}

bool CreateFileExclusively(const fs::path& file, const std::string& bytes, int* errorNumber) {
    const auto fail = [&](int error) {
        if (errorNumber)
            *errorNumber = error ? error : EIO;
        errno = error;
        return false;
    };
    bool inside = false;
    const Fd folder = openFolderOf(file, inside);
    if (folder.fd < 0)
        return fail(errno);
    struct stat where {};
    const bool folderKnown = ::fstat(folder.fd, &where) == 0;
    // Written whole under a name of its own, then linked to its name, which fails when the name is
    // taken: a kill never leaves the file made and empty (NFS, sshfs and local disks all link). Where
    // the file system has no links, it is made exclusively and then written.
    const fs::path temp = temporaryFor(file.filename());
    {
        const Fd fd = openFileIn(folder.fd, temp, true, O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd.fd < 0)
            return fail(errno);
        if (folderKnown)
            shareAsFolderIs(fd.fd, where, false);
        if (!writeAll(fd.fd, bytes)) {
            const int error = errno;
            ::unlinkat(folder.fd, temp.c_str(), 0);
            return fail(error);
        }
    }
    const bool linked = ::linkat(folder.fd, temp.c_str(), folder.fd, file.filename().c_str(), 0) == 0;
    const int error = errno;
    ::unlinkat(folder.fd, temp.c_str(), 0);
    if (linked)
        return true;
    if (error != EPERM && error != ENOSYS && error != EOPNOTSUPP)
        return fail(error);
    const Fd fd = openFileIn(folder.fd, file, inside, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd.fd < 0)
        return fail(errno);
    if (folderKnown)
        shareAsFolderIs(fd.fd, where, false);
    if (!writeAll(fd.fd, bytes)) {
        const int writeError = errno;
        ::unlinkat(folder.fd, file.filename().c_str(), 0);
        return fail(writeError);
    }
    return true;
}

bool MoveDataFileAside(const fs::path& file, fs::path& aside) {
    bool inside = false;
    const Fd folder = openFolderOf(file, inside);
    if (folder.fd < 0)
        return false;
    const fs::path to = temporaryFor(file.filename());
    // The name drawn is new (48 random bits); a rename never follows the link it may move.
    if (::renameat(folder.fd, file.filename().c_str(), folder.fd, to.c_str()) != 0)
        return false;
    aside = file.parent_path() / to;
    return true;
}

bool PutDataFileBack(const fs::path& aside, const fs::path& file) {
    bool inside = false;
    const Fd folder = openFolderOf(file, inside);
    if (folder.fd < 0 ||
        ::linkat(folder.fd, aside.filename().c_str(), folder.fd, file.filename().c_str(), 0) != 0)
        return false;
    ::unlinkat(folder.fd, aside.filename().c_str(), 0);
    return true;
}

std::optional<TFileEnd> ReadDataFileEnd(const fs::path& file, std::size_t count, int* errorNumber) {
    const auto fail = [&](int error) -> std::optional<TFileEnd> {
        if (errorNumber)
            *errorNumber = error ? error : EIO;
        return std::nullopt;
    };
    struct stat st {};
    int error = 0;
    const Fd fd = openRegularFile(file, st, error);
    if (fd.fd < 0)
        return fail(error);
    TFileEnd end;
    end.Size = static_cast<std::uintmax_t>(st.st_size);
    const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(end.Size, count));
    end.Last.resize(n);
    if (n > 0 &&
        ::pread(fd.fd, end.Last.data(), n, st.st_size - static_cast<off_t>(n)) != static_cast<ssize_t>(n))
        return fail(errno);
    return end;
}

bool RemoveDataFile(const fs::path& file) {
    bool inside = false;
    const Fd folder = openFolderOf(file, inside);
    return folder.fd >= 0 && ::unlinkat(folder.fd, file.filename().c_str(), 0) == 0;
}

bool MakeDataFolder(const fs::path& folder) {
    const fs::path name = folder.filename();
    bool inside = false;
    const Fd parent = openFolderOf(folder, inside);
    if (parent.fd < 0)
        return false;
    const bool made = ::mkdirat(parent.fd, name.c_str(), 0777) == 0;
    Fd fd(::openat(parent.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    // Made at the same moment by another member, whose umask (or its server's) shuts the group out
    // until its change of mode a moment later: worth waiting a little for the folder to be the group's.
    struct stat where {};
    const bool shared = ::fstat(parent.fd, &where) == 0 && (where.st_mode & S_ISGID) != 0;
    const auto groupCanWrite = [&] {
        struct stat st {};
        return fd.fd >= 0 && ::fstat(fd.fd, &st) == 0 && (st.st_mode & 0070) == 0070;
    };
    for (int tries = 0; shared && !made && !groupCanWrite() && tries < 50; ++tries) {
        if (fd.fd < 0 && errno != EACCES)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        fd = Fd(::openat(parent.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    if (fd.fd < 0) {
        if (isLinkAt(parent.fd, name.c_str()))
            tellProblem(inside ? linkMessage(insideDataFolder(folder)) : std::string());
        return false;
    }
    if (made && shared)
        shareAsFolderIs(fd.fd, where, true);
    return true;
}

#endif

std::optional<std::string> ReadWholeFile(const fs::path& path, int* errorNumber, std::uintmax_t maxBytes) {
    std::string data;
    if (!ReadDataFile(path, errorNumber, maxBytes,
                      [&](const char* bytes, std::size_t n) { data.append(bytes, n); }))
        return std::nullopt;
    return data;
}

int RemoveStaleTemporaries(const fs::path& folder, int olderThanSeconds) {
    int removed = 0;
    std::error_code ec;
    if (!DataPathProblem(folder).empty())
        return 0; // a planted link: what it points at is nobody's business here
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (it->is_symlink(entryError) || !it->is_regular_file(entryError) ||
            !isOurTemporary(PathToUtf8(it->path().filename())))
            continue;
        const auto written = it->last_write_time(entryError);
        if (entryError || now - written < std::chrono::seconds(olderThanSeconds))
            continue;
        if (fs::remove(it->path(), entryError))
            ++removed;
    }
    return removed;
}
