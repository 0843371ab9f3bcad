#include "core/storage/studentName.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"

#include <algorithm>
#include <array>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

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

// The accented letters of Windows-1252 as a letter and a combining mark, the way some systems write
// file names ("A" U+0301 for "Á").
struct Composition {
    char32_t base, mark, composed;
};
constexpr Composition kCompositions[] = {
    {U'S', 0x30C, 0x160}, {U'Z', 0x30C, 0x17D}, {U's', 0x30C, 0x161}, {U'z', 0x30C, 0x17E},
    {U'Y', 0x308, 0x178}, {U'A', 0x300, 0xC0},  {U'A', 0x301, 0xC1},  {U'A', 0x302, 0xC2},
    {U'A', 0x303, 0xC3},  {U'A', 0x308, 0xC4},  {U'A', 0x30A, 0xC5},  {U'C', 0x327, 0xC7},
    {U'E', 0x300, 0xC8},  {U'E', 0x301, 0xC9},  {U'E', 0x302, 0xCA},  {U'E', 0x308, 0xCB},
    {U'I', 0x300, 0xCC},  {U'I', 0x301, 0xCD},  {U'I', 0x302, 0xCE},  {U'I', 0x308, 0xCF},
    {U'N', 0x303, 0xD1},  {U'O', 0x300, 0xD2},  {U'O', 0x301, 0xD3},  {U'O', 0x302, 0xD4},
    {U'O', 0x303, 0xD5},  {U'O', 0x308, 0xD6},  {U'U', 0x300, 0xD9},  {U'U', 0x301, 0xDA},
    {U'U', 0x302, 0xDB},  {U'U', 0x308, 0xDC},  {U'Y', 0x301, 0xDD},  {U'a', 0x300, 0xE0},
    {U'a', 0x301, 0xE1},  {U'a', 0x302, 0xE2},  {U'a', 0x303, 0xE3},  {U'a', 0x308, 0xE4},
    {U'a', 0x30A, 0xE5},  {U'c', 0x327, 0xE7},  {U'e', 0x300, 0xE8},  {U'e', 0x301, 0xE9},
    {U'e', 0x302, 0xEA},  {U'e', 0x308, 0xEB},  {U'i', 0x300, 0xEC},  {U'i', 0x301, 0xED},
    {U'i', 0x302, 0xEE},  {U'i', 0x308, 0xEF},  {U'n', 0x303, 0xF1},  {U'o', 0x300, 0xF2},
    {U'o', 0x301, 0xF3},  {U'o', 0x302, 0xF4},  {U'o', 0x303, 0xF5},  {U'o', 0x308, 0xF6},
    {U'u', 0x300, 0xF9},  {U'u', 0x301, 0xFA},  {U'u', 0x302, 0xFB},  {U'u', 0x308, 0xFC},
    {U'y', 0x301, 0xFD},  {U'y', 0x308, 0xFF}};

// A name's Windows-1252 bytes, its decomposed accents put together first: "Ana" and "A\u0301na"
// written by another system are one name. Nothing for a character outside the code page.
std::optional<std::string> composedCp1252(const std::string& utf8) {
    const auto text = Utf8CodePoints(utf8);
    if (!text)
        return std::nullopt;
    std::u32string composed;
    for (const char32_t cp : *text) {
        const auto pair =
            std::find_if(std::begin(kCompositions), std::end(kCompositions), [&](const Composition& c) {
                return !composed.empty() && c.base == composed.back() && c.mark == cp;
            });
        if (pair != std::end(kCompositions))
            composed.back() = pair->composed;
        else
            composed.push_back(cp);
    }
    std::string out;
    for (const char32_t cp : composed)
        out += Utf8Of(cp);
    return Utf8ToCp1252(out);
}

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
    const std::string wanted = FoldStudentName(*composedCp1252(utf8Name));
    std::error_code ec;
    for (std::filesystem::directory_iterator it(usersFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const auto name = composedCp1252(PathToUtf8(it->path().filename()));
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

TNewProfile CreateStudentProfile(const std::filesystem::path& usersFolder, const std::string& utf8Name,
                                 const std::vector<TSettingValue>& values) {
    if (!StudentNameProblem(utf8Name).empty())
        return TNewProfile::Failed;
    if (!StudentFilesNamed(usersFolder, utf8Name).empty())
        return TNewProfile::Exists;
    std::string text;
    for (const TSettingValue& v : values) {
        if ((v.Section + v.Key + v.Value).find_first_of("\r\n") != std::string::npos)
            return TNewProfile::Failed;
        text = IniSetValue(text, v.Section, v.Key, v.Value);
    }
    // Made whole under its name only when the name is free: a save at the same moment never
    // replaces it, nor is it replaced.
    const std::filesystem::path file = usersFolder / PathFromUtf8(utf8Name);
    if (!CreateFileExclusively(file, text)) {
        std::error_code ec;
        return std::filesystem::symlink_status(file, ec).type() != std::filesystem::file_type::not_found
                   ? TNewProfile::Exists
                   : TNewProfile::Failed;
    }
#ifdef _WIN32
    // Made as lock files are, hidden: a profile is seen.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
    // A save of a name that differs only in case (or in how its accents are written) at the same
    // moment: whoever sees another such profile beside its own gives way. Both may; both never stay.
    const auto same = StudentFilesNamed(usersFolder, utf8Name);
    if (same.size() != 1 || same.front() != file) {
        RemoveDataFile(file);
        return TNewProfile::Exists;
    }
    return TNewProfile::Made;
}
