#include "platform/atomicFile.h"

#include "platform/programFolder.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

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

// Leading dot: the roster lists no hidden file, so a temporary left by a kill never shows as a student.
fs::path temporaryBeside(const fs::path& target) {
    static std::mt19937_64 rng{std::random_device{}()};
    char suffix[20];
    std::snprintf(suffix, sizeof suffix, ".%012llx",
                  static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
    fs::path name = fs::path(".");
    name += target.filename();
    name += suffix;
    name += ".tmp";
    return target.parent_path() / name;
}

// ".<name>.<12 lower-case hex digits>.tmp", as temporaryBeside makes them.
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

#ifdef _WIN32

bool WriteFileAtomically(const fs::path& target, const std::string& bytes) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    const fs::path temp = temporaryBeside(target);
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

#else

bool WriteFileAtomically(const fs::path& target, const std::string& bytes) {
    if (target.filename().empty())
        return false;
    // An existing target must be a regular file that may be written: the rename alone would replace a
    // read-only file too, and the superuser passes every access check, so its mode is asked directly.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;
    const fs::path temp = temporaryBeside(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    // The new file keeps the permissions, and where allowed the owner, that the old one had.
    if (exists) {
        (void)::fchmod(fd, old.st_mode & 07777);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)!::fchown(fd, old.st_uid, old.st_gid);
    }
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself must reach the disk too.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

#endif

std::optional<std::string> ReadWholeFile(const fs::path& path, int* errorNumber) {
    // Looked at before opening: opening a FIFO alone waits for a writer.
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status)) {
        if (errorNumber)
            *errorNumber = ec ? ec.value() : fs::is_directory(status) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errorNumber)
            *errorNumber = errno ? errno : ENOENT;
        return std::nullopt;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (errorNumber)
            *errorNumber = EIO;
        return std::nullopt;
    }
    return data;
}

int RemoveStaleTemporaries(const fs::path& folder, int olderThanSeconds) {
    int removed = 0;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || !isOurTemporary(PathToUtf8(it->path().filename())))
            continue;
        const auto written = it->last_write_time(entryError);
        if (entryError || now - written < std::chrono::seconds(olderThanSeconds))
            continue;
        if (fs::remove(it->path(), entryError))
            ++removed;
    }
    return removed;
}
