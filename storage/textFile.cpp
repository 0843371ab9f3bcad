#include "storage/textFile.h"

#include "platform/programFolder.h"
#include "platform/vtError.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

struct SharedTextFile {
    std::FILE* file = nullptr;
    std::string name;
} g_text;

std::function<void(const std::string&)> g_sink;

constexpr int kCtrlZ = 26;

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
    // is no lesson either.
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) {
#ifdef _WIN32
        g_text.file = _wfopen(path.c_str(), L"rb");
#else
        g_text.file = std::fopen(path.c_str(), "rb");
#endif
    }
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
    if (!std::filesystem::is_regular_file(p, ec))
        return false;
    return std::filesystem::remove(p, ec) && !ec;
}
