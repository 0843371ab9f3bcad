#include "lessons/lessonFile.h"

#include "platform/keyboard.h"
#include "platform/vtError.h"
#include "storage/convert.h"
#include "storage/profileKeys.h"
#include "storage/settings.h"
#include "storage/textFile.h"

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

std::string ReadNextLine() {
    std::string line;
    while (!TextFileAtEnd()) {
        const std::string c = ReadTextChars(1);
        if (c == "^")
            break;
        line += c;
    }
    ReadTextChars(2);
    return line;
}

std::vector<std::string> LessonLines(const std::string& bytes, std::size_t count) {
    const std::string_view text = std::string_view(bytes).substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (lines.size() < count && start < text.size()) {
        const auto caret = std::min(text.find('^', start), text.size());
        lines.emplace_back(text.substr(start, caret - start));
        start = caret + 3;
    }
    lines.resize(count);
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

TLessonData ReadLessonFile(const std::string& path) {
    OpenTextFile(path, false);
    TLessonData lesson;
    lesson.Title = ReadNextLine();
    lesson.Description = ReadNextLine();
    lesson.StartKey = LessonStartKey(ReadNextLine());
    lesson.Codes = LessonCodes(ReadNextLine());
    lesson.WordsToType = LessonWordsToType(ReadNextLine());
    lesson.ExpectedTime = LessonExpectedTime(ReadNextLine());
    lesson.MinimumPercent = LessonMinimumPercent(ReadNextLine());
    return lesson;
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
