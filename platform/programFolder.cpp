#include "platform/programFolder.h"

#include <cstring>
#include <system_error>

namespace {
std::string g_helpFile;
} // namespace

// SetProgramFolder and ProgramFolder live with the other data places (dataPlaces.cpp).

void SetHelpFileName(const std::string& name) {
    g_helpFile = name;
}
const std::string& HelpFileName() {
    return g_helpFile;
}

std::filesystem::path PathFromUtf8(const std::string& text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}

std::string PathToUtf8(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
#else
    return path.string();
#endif
}

std::string FileNamePart(const std::string& pathText) {
#ifdef _WIN32
    const auto pos = pathText.find_last_of("\\/:");
#else
    const auto pos = pathText.find_last_of('/');
#endif
    return pos == std::string::npos ? pathText : pathText.substr(pos + 1);
}

std::string SystemErrorText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}
