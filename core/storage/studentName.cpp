#include "core/storage/studentName.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The first character that has no Windows-1252 byte, or nothing.
std::optional<char32_t> firstUnstorable(const std::u32string& text) {
    for (const char32_t cp : text)
        if (!Utf8ToCp1252(Utf8Of(cp)))
            return cp;
    return std::nullopt;
}

bool isControl(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
}

// Names Windows keeps for devices, with or without an extension ("con", "LPT1.txt").
bool isDeviceName(const std::string& utf8) {
    std::string stem = AsciiLower(utf8.substr(0, utf8.find('.')));
    static constexpr std::array<std::string_view, 4> plain{"con", "prn", "aux", "nul"};
    if (std::find(plain.begin(), plain.end(), stem) != plain.end())
        return true;
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1' &&
           stem[3] <= '9';
}

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

} // namespace

std::filesystem::path StudentsFolder() {
    return ProgramFolder() / files::UsersFolder;
}

std::string StudentNameProblem(const std::string& utf8Name) {
    const auto text = Utf8CodePoints(utf8Name);
    if (!text)
        return "O nome do aluno não é um texto válido.";
    if (text->empty())
        return "Digite o nome do aluno.";
    if (utf8Name == "." || utf8Name == "..")
        return "\"" + utf8Name + "\" não pode ser usado como nome de aluno.";
    for (const char32_t cp : *text) {
        if (cp < 0x80 && kForbidden.find(static_cast<char>(cp)) != std::string_view::npos)
            return "O nome do aluno não pode conter o caractere \"" + Utf8Of(cp) +
                   "\".\n\nCaracteres não permitidos em nomes: \\ / : * ? \" < > |";
        if (isControl(cp))
            return "O nome do aluno não pode conter caracteres de controle (tabulação, quebra de linha e "
                   "outros).";
    }
    if (const auto bad = firstUnstorable(*text))
        return "O nome do aluno contém o caractere \"" + Utf8Of(*bad) +
               "\", que o programa não pode gravar. Use apenas letras, números e sinais comuns.";
    // A leading dot hides the file on Linux: the roster would never list the student.
    if (text->front() == U'.')
        return "O nome do aluno não pode começar com ponto.";
    if (text->back() == U' ' || text->back() == U'.')
        return "O nome do aluno não pode terminar com espaço ou ponto.";
    if (isDeviceName(utf8Name))
        return "\"" + utf8Name +
               "\" é um nome reservado pelo sistema e não pode ser usado como nome de aluno.";
    if (text->size() > static_cast<std::size_t>(kMaxStudentNameLength))
        return "O nome do aluno pode ter no máximo " + std::to_string(kMaxStudentNameLength) + " caracteres.";
    if (utf8Name.size() > kMaxStudentNameBytes)
        return "O nome do aluno é longo demais para um nome de arquivo: use menos caracteres (os acentos e "
               "símbolos ocupam mais espaço).";
    return {};
}

std::string PasswordProblem(const std::string& utf8Password) {
    const auto text = Utf8CodePoints(utf8Password);
    if (!text)
        return "A senha não é um texto válido.";
    if (const auto bad = firstUnstorable(*text))
        return "A senha contém o caractere \"" + Utf8Of(*bad) +
               "\", que o programa não pode gravar. Use apenas letras, números e sinais comuns.";
    if (text->size() > static_cast<std::size_t>(kMaxPasswordLength))
        return "A senha pode ter no máximo " + std::to_string(kMaxPasswordLength) + " caracteres.";
    return {};
}

std::string FoldStudentName(const std::string& cp1252) {
    std::string out = cp1252;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E) // Š Œ Ž
            c = static_cast<char>(b + 0x10);
        else if (b == 0x9F) // Ÿ
            c = static_cast<char>(0xFF);
    }
    return out;
}

std::vector<std::filesystem::path> StudentFilesNamed(const std::filesystem::path& usersFolder,
                                                     const std::string& utf8Name) {
    std::vector<std::filesystem::path> found;
    if (!StudentNameProblem(utf8Name).empty())
        return found;
    const std::string wanted = FoldStudentName(*Utf8ToCp1252(utf8Name));
    std::error_code ec;
    for (std::filesystem::directory_iterator it(usersFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const auto name = Utf8ToCp1252(PathToUtf8(it->path().filename()));
        if (name && FoldStudentName(*name) == wanted)
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<std::filesystem::path> FindStudentFile(const std::filesystem::path& usersFolder,
                                                     const std::string& utf8Name) {
    const auto candidates = StudentFilesNamed(usersFolder, utf8Name);
    const auto exact =
        std::find_if(candidates.begin(), candidates.end(),
                     [&](const std::filesystem::path& p) { return PathToUtf8(p.filename()) == utf8Name; });
    if (exact != candidates.end())
        return *exact;
    // "Ana" and "ANA" side by side: no way to tell which one "ana" means.
    if (candidates.size() == 1)
        return candidates.front();
    return std::nullopt;
}
