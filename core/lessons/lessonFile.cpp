#include "core/lessons/lessonFile.h"

#include "core/platform/keyboard.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"
#include "core/storage/textFile.h"

#include <algorithm>
#include <string_view>

namespace {
// Characters first..last (1-based, inclusive) of a line; what lies past its end is simply absent.
std::string chars(const std::string& line, std::size_t first, std::size_t last = std::string::npos) {
    if (line.size() < first)
        return {};
    const std::size_t count = last == std::string::npos ? std::string::npos : last - first + 1;
    return line.substr(first - 1, count);
}
} // namespace

namespace {
// The format's one line rule, for the shared text file and for bytes held whole alike: a line runs to
// "^" or the end of the text (Ctrl-Z or the file's end), and the two characters after "^" (its CR LF)
// are skipped, whatever they are.
template <class Text> std::string nextLine(Text& text) {
    std::string line;
    while (!text.AtEnd()) {
        const char c = text.Get();
        if (c == '^')
            break;
        line += c;
    }
    text.Skip(2);
    return line;
}

struct SharedTextFile {
    bool AtEnd() { return TextFileAtEnd(); }
    char Get() { return ReadTextChars(1).front(); }
    void Skip(int count) { ReadTextChars(count); }
};

struct HeldText {
    std::string_view Text;
    std::size_t At = 0;
    bool AtEnd() const { return At >= Text.size(); }
    char Get() { return Text[At++]; }
    void Skip(std::size_t count) { At = std::min(Text.size(), At + count); }
};
} // namespace

std::string ReadNextLine() {
    SharedTextFile file;
    return nextLine(file);
}

std::vector<std::string> LessonLines(const std::string& bytes, std::size_t count) {
    HeldText text{std::string_view(bytes).substr(0, bytes.find('\x1A'))};
    std::vector<std::string> lines;
    lines.reserve(count);
    while (lines.size() < count)
        lines.push_back(nextLine(text));
    return lines;
}

std::vector<std::string> ReadLessonLines(const std::string& path) {
    // Closed however the reading ends: a lesson file left open would stay locked on Windows.
    struct Closer {
        ~Closer() { CloseTextFile(); }
    } closer;
    OpenTextFile(path, false);
    std::vector<std::string> lines;
    lines.reserve(7);
    while (lines.size() < 7)
        lines.push_back(ReadNextLine());
    return lines;
}

int LessonStartKey(const std::string& line3) {
    return StrToInt(chars(line3, 10, 12));
}

std::vector<int> LessonCodes(const std::string& line4) {
    const std::string text = chars(line4, 10, 10 + 9999 - 1);
    std::vector<int> codes;
    codes.reserve(text.size() / 3);
    for (std::size_t i = 0; i + 3 <= text.size(); i += 3)
        codes.push_back(StrToInt(text.substr(i, 3)));
    return codes;
}

int LessonWordsToType(const std::string& line5) {
    return StrToInt(chars(line5, 14, 268));
}

double LessonExpectedTime(const std::string& line6) {
    return StrToTime(chars(line6, 10));
}

int LessonMinimumPercent(const std::string& line7) {
    return StrToInt(chars(line7, 13));
}

std::string StartKeyName(int code) {
    if (code < Vk::F1 || code > Vk::F12)
        return {};
    return "F" + std::to_string(code - Vk::F1 + 1);
}

TLessonData ParseLessonLines(const std::vector<std::string>& lines) {
    TLessonData lesson;
    lesson.Title = lines.at(0);
    lesson.Description = lines.at(1);
    lesson.StartKey = LessonStartKey(lines.at(2));
    lesson.Codes = LessonCodes(lines.at(3));
    lesson.WordsToType = LessonWordsToType(lines.at(4));
    lesson.ExpectedTime = LessonExpectedTime(lines.at(5));
    lesson.MinimumPercent = LessonMinimumPercent(lines.at(6));
    return lesson;
}

TLessonData ReadLessonFile(const std::string& path) {
    return ParseLessonLines(ReadLessonLines(path));
}

TLessonData LessonFromBytes(const std::string& bytes) {
    return ParseLessonLines(LessonLines(bytes));
}

int ReadStudentLayout(const std::string& profilePath) {
    SelectSettingsFile(profilePath);
    return StrToInt(ReadSetting(keys::Keyboard, keys::Layout, keys::LayoutDefault));
}

std::string AdaptToLayout(const std::string& description, int layout) {
    std::string shown = description;
    if (layout != 1)
        return shown;
    // The ABNT2 key right of L types ç: beside a lower-case letter (a drill such as "jkl;") it is the
    // letter the student sees typed; elsewhere it names the key, by its legend Ç.
    const auto lower = [&](std::size_t at) {
        if (at >= description.size())
            return false;
        const auto c = static_cast<unsigned char>(description[at]);
        return (c >= 'a' && c <= 'z') || c == 0xE7;
    };
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == ';')
            shown[i] = (i > 0 && lower(i - 1)) || lower(i + 1) ? '\xE7' : '\xC7'; // ç, Ç in Windows-1252
    return shown;
}

std::string AdaptToLayout(const std::string& description, const std::string& profilePath) {
    return AdaptToLayout(description, ReadStudentLayout(profilePath));
}

void CheckLessonCodeCount(std::size_t count, const std::string& pathText) {
    if (count == 0)
        throw VtError("A aula \"" + pathText +
                      "\" não tem nenhuma tecla para digitar (linha 4 sem códigos) e não pode ser feita");
    if (count > MaxLessonCodes)
        throw VtError("A aula \"" + pathText + "\" tem " + std::to_string(count) +
                      " teclas para digitar; o máximo é " + std::to_string(MaxLessonCodes) +
                      ". A aula não pode ser feita");
}

void CheckLessonWordCount(int words, const std::string& pathText) {
    if (words <= 0)
        throw VtError("A aula \"" + pathText + "\" pede " + std::to_string(words) +
                      " palavras para digitar; o número deve ser maior que zero. A aula não pode ser feita");
}
