#include "core/storage/textFile.h"

#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct SharedTextFile {
    std::FILE* file = nullptr;
    std::string name;
} g_text;

std::function<void(const std::string&)> g_sink;

constexpr int kCtrlZ = 26;

// A lesson is some kilobytes; one read a character at a time must never be a gigabyte.
constexpr std::uintmax_t kTextFileCap = std::uintmax_t{1} << 20;

int peekChar() {
    const int c = std::fgetc(g_text.file);
    if (c != EOF)
        std::ungetc(c, g_text.file);
    return c;
}

} // namespace

void SetTextFileMessageSink(std::function<void(const std::string&)> sink) {
    g_sink = std::move(sink);
}

void CloseTextFile() {
    if (g_text.file)
        std::fclose(g_text.file);
    g_text.file = nullptr;
}

void OpenTextFile(const std::string& name, bool showError) {
    CloseTextFile();
    g_text.name = name;
    const auto path = PathFromUtf8(name);
    // Only a regular file: opening a FIFO would wait for a writer for good, and a folder or a device
    // is no lesson either. Nothing is read through a link planted in the data folder.
    std::error_code ec;
    if (const std::string problem = DataPathProblem(path); !problem.empty()) {
        if (showError && g_sink)
            g_sink(problem);
        return;
    }
#ifdef _WIN32
    if (std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) <= kTextFileCap)
        g_text.file = _wfopen(path.c_str(), L"rb");
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uintmax_t>(st.st_size) <= kTextFileCap)
        g_text.file = ::fdopen(fd, "rb");
    if (!g_text.file && fd >= 0)
        ::close(fd);
#endif
    if (!g_text.file && showError && g_sink)
        g_sink("Ocorreu erro ao abrir, acessar o arquivo ou a porta.\rInfo: " + name);
}

std::string ReadTextChars(int count) {
    if (!g_text.file || count <= 0)
        return {};
    std::string out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int c = peekChar();
        if (c == EOF || c == kCtrlZ) {
            out += static_cast<char>(kCtrlZ);
            continue;
        }
        std::fgetc(g_text.file);
        out += static_cast<char>(c);
    }
    return out;
}

bool TextFileAtEnd() {
    if (!g_text.file)
        throw VtError("I/O error 104");
    const int c = peekChar();
    return c == EOF || c == kCtrlZ;
}

bool DeleteDataFile(const std::string& path) {
    std::error_code ec;
    const auto p = PathFromUtf8(path);
    // A link is no student's file, and a folder link on the way would delete elsewhere.
    if (!DataPathProblem(p).empty() ||
        !std::filesystem::is_regular_file(std::filesystem::symlink_status(p, ec)))
        return false;
    return std::filesystem::remove(p, ec) && !ec;
}
