#include "platform/atomicFile.h"

#include <cerrno>
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
    std::snprintf(suffix, sizeof suffix, ".%012llx", static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
    fs::path name = fs::path(".");
    name += target.filename();
    name += suffix;
    name += ".tmp";
    return target.parent_path() / name;
}

} // namespace

#ifdef _WIN32

bool WriteFileAtomically(const fs::path& target, const std::string& bytes) {
    const fs::path temp = temporaryBeside(target);
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.empty() ||
              (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
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
    const fs::path temp = temporaryBeside(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    // Keep the permissions an existing file had.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            ok = false;
        else
            (void)::fchmod(fd, old.st_mode & 07777);
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
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errorNumber)
            *errorNumber = errno ? errno : ENOENT;
        return std::nullopt;
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        if (errorNumber)
            *errorNumber = EISDIR;
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
