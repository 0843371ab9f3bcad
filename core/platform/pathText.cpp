#include "core/platform/pathText.h"

#include <cerrno>
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

std::string SystemErrorTextPt(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return "o arquivo ou a pasta não existe";
    case EACCES:
    case EPERM:
        return "permissão negada";
    case ENOTDIR:
        return "uma parte do caminho não é uma pasta";
    case EISDIR:
        return "é uma pasta, não um arquivo";
    case EINVAL:
        return "não é um arquivo comum";
    case EIO:
        return "erro de leitura ou gravação no disco";
    case ENOSPC:
        return "não há espaço no disco";
    case EROFS:
        return "o disco só permite leitura";
    case EMFILE:
    case ENFILE:
        return "arquivos abertos demais";
    case ENAMETOOLONG:
        return "o nome é longo demais";
    case ELOOP:
        return "é um atalho (link) ou passa por um, e na pasta de dados nenhum atalho é seguido";
    case ENOMEM:
        return "memória insuficiente";
    case EBUSY:
        return "o arquivo está em uso";
    default:
        return "erro do sistema número " + std::to_string(errorNumber);
    }
}
