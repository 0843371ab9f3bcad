#include "core/lessons/lessonSource.h"

#include "core/platform/iniFile.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

namespace {
constexpr int kEnter = Vk::Return;
constexpr int kShift = Vk::Shift;

[[noreturn]] void refuse(int line, const std::string& what) {
    throw VtError("Linha " + std::to_string(line) + ": " + what);
}

std::string rtrim(const std::string& s) {
    const auto last = s.find_last_not_of(" \t\r");
    return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

// A UTF-8 line as Windows-1252, naming the first character that has no byte there.
std::string toCp1252(const std::string& utf8, int line) {
    if (auto cp = Utf8ToCp1252(utf8))
        return *cp;
    if (const auto points = Utf8CodePoints(utf8))
        for (const char32_t point : *points) {
            const std::string ch = Utf8Of(point);
            if (!Utf8ToCp1252(ch))
                refuse(line, "o caractere \"" + ch +
                                 "\" não existe no conjunto de caracteres das aulas (Windows-1252).");
        }
    refuse(line, "o texto não pôde ser convertido para Windows-1252.");
}

// The lesson reader ends a line at "^" and the whole file at Ctrl-Z: neither may be in the text.
constexpr char kCtrlZ = 26;

std::string descriptionLine(const std::string& cp, int line) {
    if (cp.find('^') != std::string::npos)
        refuse(line, "a descrição não pode conter \"^\", que encerra as linhas do arquivo de aula.");
    if (cp.find(kCtrlZ) != std::string::npos)
        refuse(line, "a descrição não pode conter o caractere de controle 26 (Ctrl-Z), que encerra o arquivo "
                     "de aula.");
    return cp;
}

std::string shown(unsigned char byte) {
    return Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
}

// Codes of one typed character (Windows-1252 byte); empty when no key of the keyboard types it.
std::vector<int> codesOf(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return {c - 'a' + 'A'}; // a letter key's code is its capital
    if (c >= 'A' && c <= 'Z')
        return {kShift, c};
    if (c == ' ')
        return {Vk::Space};
    if (c == 0xE7) // ç: the key right of L, wherever the student's layout prints it
        return {Vk::RightOfL};
    if (c == 0xC7)
        return {kShift, Vk::RightOfL};
    for (const TKeyboardKey& key : KeyboardKeys()) {
        if (!key.Lit())
            continue;
        if (key.legend[0] == static_cast<char>(c) && key.legend[1] == 0)
            return {key.code};
        // A symbol typed with Shift, where the American and the ABNT2 layout agree on it.
        if (key.shifted == static_cast<char>(c) && key.abnt2Shifted == key.shifted)
            return {kShift, key.code};
    }
    return {};
}

// The character a key types with Shift held, when a lesson text can ask for it; 0 otherwise.
char shiftedCharacter(int code) {
    if (code >= 'A' && code <= 'Z')
        return static_cast<char>(code);
    for (int c = '!'; c <= '~'; ++c)
        if (c != '{' && codesOf(static_cast<unsigned char>(c)) == std::vector<int>{kShift, code})
            return static_cast<char>(c);
    return 0;
}

std::vector<int> parseText(const std::string& cp, int line) {
    std::vector<int> codes;
    for (std::size_t i = 0; i < cp.size(); ++i) {
        const auto c = static_cast<unsigned char>(cp[i]);
        if (c == '{') {
            const auto close = cp.find('}', i);
            if (close == std::string::npos)
                refuse(line, "falta fechar \"{\" com \"}\" no texto.");
            const std::string name = cp.substr(i + 1, close - i - 1);
            const std::string lower = AsciiLower(name);
            if (lower == "enter")
                codes.push_back(kEnter);
            else if (lower == "shift")
                codes.push_back(kShift);
            else if (name.size() == 3 && name.find_first_not_of("0123456789") == std::string::npos) {
                const int code = std::stoi(name);
                if (!CodeHasKey(code))
                    refuse(line, "a tecla {" + name + "} não existe no teclado da tela.");
                codes.push_back(code);
            } else
                refuse(line,
                       "\"{" + Cp1252ToUtf8(name) +
                           "}\" não é uma tecla conhecida; use {Enter}, {Shift} ou um código de 3 dígitos.");
            i = close;
            continue;
        }
        const std::vector<int> some = codesOf(c);
        if (some.empty())
            refuse(line, "o caractere \"" + shown(c) + "\" não tem tecla no teclado da tela.");
        codes.insert(codes.end(), some.begin(), some.end());
    }
    return codes;
}

std::string keyName(int code) {
    if (code == kEnter)
        return "Enter";
    if (code == ' ')
        return "o espaço";
    return "\"" + Cp1252ToUtf8(CodesToSourceText({code})) + "\"";
}

int parseWhole(const std::string& value, int line, const char* field) {
    const std::optional<int> n = TryStrToInt(value);
    if (!n)
        refuse(line, "\"" + value + "\" não é um número inteiro (" + field + ").");
    return *n;
}

enum Field { Title, Key, Text, Words, Time, Minimum, Description };

std::optional<Field> fieldNamed(const std::string& utf8Name) {
    static const std::map<std::string, Field> names = {
        {"titulo", Title},          {"título", Title},         {"tecla", Key},      {"texto", Text},
        {"palavras", Words},        {"tempo", Time},           {"minimo", Minimum}, {"mínimo", Minimum},
        {"descricao", Description}, {"descrição", Description}};
    const auto it = names.find(AsciiLower(utf8Name));
    if (it == names.end())
        return std::nullopt;
    return it->second;
}

const char* fieldLabel(Field f) {
    static const char* labels[] = {"Título", "Tecla", "Texto", "Palavras", "Tempo", "Mínimo", "Descrição"};
    return labels[f];
}
} // namespace

TLessonSource ParseLessonSource(const std::string& sourceText) {
    std::string text = sourceText;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    if (!Utf8CodePoints(text)) // an older editor saved it in Windows-1252
        text = Cp1252ToUtf8(text);

    const std::vector<std::string> lines = TextLines(text);

    TLessonSource lesson;
    std::map<Field, int> seenAt;
    int textLine = 0;
    std::vector<std::string> description;
    bool inDescription = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        if (inDescription) {
            description.push_back(descriptionLine(toCp1252(rtrim(lines[i]), n), n));
            continue;
        }
        const std::string line = TrimBlanks(lines[i]);
        if (line.empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        const std::optional<Field> field =
            colon == std::string::npos ? std::nullopt : fieldNamed(TrimBlanks(line.substr(0, colon)));
        if (!field)
            refuse(n, "\"" + line.substr(0, colon) +
                          "\" não é um campo; os campos são Título, Tecla, Texto, Palavras, Tempo, Mínimo e "
                          "Descrição.");
        if (*field != Text && seenAt.count(*field))
            refuse(n, std::string("o campo ") + fieldLabel(*field) + " aparece duas vezes (antes na linha " +
                          std::to_string(seenAt[*field]) + ").");
        seenAt.emplace(*field, n);
        const std::string value = TrimBlanks(line.substr(colon + 1));
        switch (*field) {
        case Title:
            lesson.Title = toCp1252(value, n);
            if (lesson.Title.empty())
                refuse(n, "o título está vazio.");
            if (lesson.Title.find('^') != std::string::npos)
                refuse(n, "o título não pode conter \"^\", que encerra as linhas do arquivo de aula.");
            if (lesson.Title.find(kCtrlZ) != std::string::npos)
                refuse(n,
                       "o título não pode conter o caractere de controle 26 (Ctrl-Z), que encerra o arquivo "
                       "de aula.");
            break;
        case Key: {
            const std::string upper =
                value.size() > 1 && (value[0] == 'f' || value[0] == 'F') ? value.substr(1) : "";
            const std::optional<int> f = upper.empty() ? std::nullopt : TryStrToInt(upper);
            if (!f || *f < 1 || *f > 12 || upper.find_first_not_of("0123456789") != std::string::npos)
                refuse(n, "a tecla de início deve ser uma de F1 a F12, e não \"" + value + "\".");
            lesson.StartKey = Vk::F1 - 1 + *f;
            break;
        }
        case Text: {
            if (value.size() < 2 || value.front() != '"' || value.back() != '"')
                refuse(n, "o texto vai entre aspas, por exemplo: Texto: \"asdf \"");
            const std::vector<int> more = parseText(toCp1252(value.substr(1, value.size() - 2), n), n);
            lesson.Codes.insert(lesson.Codes.end(), more.begin(), more.end());
            textLine = n;
            if (lesson.Codes.size() > MaxLessonCodes)
                refuse(n, "o texto tem " + std::to_string(lesson.Codes.size()) + " teclas; o máximo é " +
                              std::to_string(MaxLessonCodes) + ".");
            break;
        }
        case Words:
            lesson.WordsToType = parseWhole(value, n, "Palavras");
            if (lesson.WordsToType < 1)
                refuse(n, "o número de palavras deve ser pelo menos 1.");
            break;
        case Time:
            try {
                lesson.TimeAllowed = StrToTime(value);
            } catch (const VtError&) {
                refuse(n, "\"" + value + "\" não é um tempo válido; escreva hh:mm:ss, por exemplo 00:02:30.");
            }
            if (lesson.TimeAllowed <= 0.0)
                refuse(n, "o tempo deve ser maior que 00:00:00.");
            break;
        case Minimum:
            lesson.MinimumPercent = parseWhole(value, n, "Mínimo");
            if (lesson.MinimumPercent < 0 || lesson.MinimumPercent > 100)
                refuse(n, "o mínimo é uma porcentagem, de 0 a 100.");
            break;
        case Description:
            inDescription = true;
            if (!value.empty())
                description.push_back(descriptionLine(toCp1252(value, n), n));
            break;
        }
    }

    const int last = std::max(1, static_cast<int>(lines.size())); // an empty source has one empty line
    for (Field f : {Title, Key, Text, Words, Time, Minimum})
        if (!seenAt.count(f))
            refuse(last, std::string("falta o campo ") + fieldLabel(f) + ".");
    if (lesson.Codes.empty())
        refuse(textLine, "o texto não tem nenhuma tecla.");
    const int lastCode = lesson.Codes.back();
    for (std::size_t i = 0; i + 1 < lesson.Codes.size(); ++i)
        if (lesson.Codes[i] == lastCode)
            refuse(textLine, "o texto termina com " + keyName(lastCode) +
                                 ", que já aparece antes (na tecla " + std::to_string(i + 1) +
                                 "); a última tecla encerra cada palavra e não pode aparecer antes dela.");

    // A student holding Shift over two shifted characters in a row presses it once (a held Shift is not
    // repeated), and the text asks for it twice: the word would be wrong however well it was typed.
    for (std::size_t i = 0; i + 3 < lesson.Codes.size(); ++i)
        if (lesson.Codes[i] == kShift && lesson.Codes[i + 1] != kShift && lesson.Codes[i + 2] == kShift &&
            lesson.Codes[i + 3] != kShift)
            refuse(textLine,
                   "o texto pede dois caracteres com Shift seguidos (\"" +
                       Cp1252ToUtf8(CodesToSourceText({lesson.Codes.begin() + static_cast<long>(i),
                                                       lesson.Codes.begin() + static_cast<long>(i + 4)})) +
                       "\", teclas " + std::to_string(i + 1) + " a " + std::to_string(i + 4) +
                       "); quem segura o Shift entre eles não o aperta de novo, e a palavra sai errada. "
                       "Ponha outra tecla entre os dois.");

    while (!description.empty() && description.back().empty())
        description.pop_back();
    for (std::size_t i = 0; i < description.size(); ++i)
        lesson.Description += (i ? "\r\n" : "") + description[i];
    return lesson;
}

std::string CompileLesson(const TLessonSource& lesson) {
    const auto code3 = [](int code) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%03d", code & 0xFF);
        return std::string(buf);
    };
    const std::string end = "^\r\n";
    std::string text;
    for (int code : lesson.Codes)
        text += code3(code);
    return lesson.Title + end + lesson.Description + end + "Tecla:   " + code3(lesson.StartKey) + end +
           "Texto:   " + text + end + "Palavras:    " + IntToStr(lesson.WordsToType) + end +
           "Tempo:   " + TimeToStr(lesson.TimeAllowed) + end +
           "Porcentagem:" + IntToStr(lesson.MinimumPercent) + end;
}

std::string CompiledLessonMismatch(const TLessonSource& compiled, const TLessonData& loaded) {
    if (loaded.Title != compiled.Title)
        return "o título lido é \"" + Cp1252ToUtf8(loaded.Title) + "\"";
    if (loaded.Description != compiled.Description)
        return "a descrição lida difere (" + std::to_string(loaded.Description.size()) + " de " +
               std::to_string(compiled.Description.size()) + " caracteres)";
    if (loaded.StartKey != compiled.StartKey)
        return "a tecla de início lida é " + std::to_string(loaded.StartKey);
    if (loaded.Codes.size() != compiled.Codes.size())
        return "o texto lido tem " + std::to_string(loaded.Codes.size()) + " teclas, e não " +
               std::to_string(compiled.Codes.size());
    for (std::size_t i = 0; i < loaded.Codes.size(); ++i)
        if ((loaded.Codes[i] & 0xFF) != compiled.Codes[i])
            return "a tecla " + std::to_string(i + 1) + " lida é " + std::to_string(loaded.Codes[i]);
    if (loaded.WordsToType != compiled.WordsToType)
        return "o número de palavras lido é " + std::to_string(loaded.WordsToType);
    if (TimeToStr(loaded.ExpectedTime) != TimeToStr(compiled.TimeAllowed) || loaded.ExpectedTime <= 0.0)
        return "o tempo lido é " + TimeToStr(loaded.ExpectedTime);
    if (loaded.MinimumPercent != compiled.MinimumPercent)
        return "o mínimo lido é " + std::to_string(loaded.MinimumPercent);
    return {};
}

std::string CodesToSourceText(const std::vector<int>& codes) {
    std::string out;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int code = codes[i];
        const char withShift = code == kShift && i + 1 < codes.size() ? shiftedCharacter(codes[i + 1]) : 0;
        if (withShift) {
            out += withShift;
            ++i;
            continue;
        }
        if (code >= 'A' && code <= 'Z') {
            out += static_cast<char>(code - 'A' + 'a');
            continue;
        }
        if (code == kEnter) {
            out += "{Enter}";
            continue;
        }
        if (code == kShift) {
            out += "{Shift}";
            continue;
        }
        bool typed = false;
        for (int c = ' '; c <= '~' && !typed; ++c) {
            if (c != '{' && codesOf(static_cast<unsigned char>(c)) == std::vector<int>{code}) {
                out += static_cast<char>(c);
                typed = true;
            }
        }
        if (!typed) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "{%03d}", code);
            out += buf;
        }
    }
    return out;
}

std::string TextToType(const std::vector<int>& codes, int layout) {
    const std::size_t end = codes.empty() ? 0 : codes.size() - 1;
    std::string out;
    for (std::size_t i = 0; i < end; ++i) {
        const int code = codes[i];
        if (code == Vk::RightOfL) {
            // On ABNT2 the key types ç; on the American layout it is the word's ç between letters and
            // otherwise the key's own ";".
            const auto letter = [&](std::size_t at) { return codes[at] >= 'A' && codes[at] <= 'Z'; };
            const bool inWord = i > 0 && letter(i - 1) && letter(i + 1);
            out += inWord || layout == 1 ? '\xE7' : ';';
            continue;
        }
        if (code == kShift && i + 1 < end && codes[i + 1] == Vk::RightOfL) {
            out += layout == 1 ? '\xC7' : ':';
            ++i;
            continue;
        }
        if (code == kEnter) {
            out += "\r\n";
            continue;
        }
        const std::size_t take = code == kShift && i + 1 < end ? 2 : 1;
        const std::string shown = CodesToSourceText(std::vector<int>(
            codes.begin() + static_cast<long>(i), codes.begin() + static_cast<long>(i + take)));
        if (shown.find('{') == std::string::npos)
            out += shown;
        i += take - 1;
    }
    return out;
}

std::string ShowLesson(const TLessonData& lesson) {
    const std::size_t perWord = lesson.Codes.size();
    const long long keys = static_cast<long long>(perWord) * lesson.WordsToType;
    const double minutes = lesson.ExpectedTime * 24 * 60;
    std::string out = "# " + std::to_string(perWord) + " teclas por palavra, " +
                      std::to_string(lesson.WordsToType) + " palavras: " + std::to_string(keys) +
                      " teclas ao todo";
    if (minutes > 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, ", %.0f por minuto", static_cast<double>(keys) / minutes);
        out += buf;
    }
    out += ", com " + std::to_string(lesson.MinimumPercent) + "% de acerto.\n";
    const std::string key = lesson.StartKey >= Vk::F1 && lesson.StartKey <= Vk::F12
                                ? StartKeyName(lesson.StartKey)
                                : std::to_string(lesson.StartKey);
    std::string description;
    for (char c : Cp1252ToUtf8(lesson.Description))
        if (c != '\r')
            description += c;
    out += "Título: " + Cp1252ToUtf8(lesson.Title) + "\nTecla: " + key + "\nTexto: \"" +
           CodesToSourceText(lesson.Codes) + "\"\nPalavras: " + std::to_string(lesson.WordsToType) +
           "\nTempo: " + TimeToStr(lesson.ExpectedTime) +
           "\nMínimo: " + std::to_string(lesson.MinimumPercent) + "\nDescrição:\n" + description + "\n";
    return out;
}
