#include "core/lessons/lessonFile.h"
#include "core/platform/vtError.h"
#include "core/storage/settings.h"
#include "core/storage/textFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace {
std::string fixture(const char* name) {
    return std::string(VT_TEST_DATA) + "/lessons/" + name;
}

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const VtError& e) {
        return e.what();
    }
    return "(no error)";
}
} // namespace

TEST(ReadNextLine, SplitsAtCaretAndSkipsTheLineBreak) {
    OpenTextFile(fixture("good.aul"), false);
    EXPECT_EQ(ReadNextLine(), "Li\xE7\xE3o de teste");
    // The description keeps its own line breaks.
    EXPECT_EQ(ReadNextLine(), "Digite as letras; depois o espa\xE7o.\r\nSegunda linha; fim.");
    EXPECT_EQ(ReadNextLine(), "Tecla:   112");
    EXPECT_EQ(ReadNextLine(), "Texto:   065083068070032");
    EXPECT_EQ(ReadNextLine(), "Palavras:    10");
    EXPECT_EQ(ReadNextLine(), "Tempo:   00:05:00");
    EXPECT_EQ(ReadNextLine(), "Porcentagem:90");
    // Past the end every line is empty, and reading on does not fail.
    EXPECT_EQ(ReadNextLine(), "");
    EXPECT_EQ(ReadNextLine(), "");
    CloseTextFile();
}

TEST(ReadNextLine, LineFeedOnlyFilesLoseTheFirstCharacterOfEachFollowingLine) {
    OpenTextFile(fixture("lfonly.aul"), false);
    EXPECT_EQ(ReadNextLine(), "Titulo");
    EXPECT_EQ(ReadNextLine(), "inha");
    EXPECT_EQ(ReadNextLine(), "ecla:   112");
    CloseTextFile();
}

TEST(ReadNextLine, TheWholeFileReaderSplitsAsTheLineReader) {
    const std::string lesson = "T^\r\nD^\r\nTecla:   116^\r\nTexto:   065^\r\nPalavras:    1^\r\n"
                               "Tempo:   00:01:00^\r\nMinimo:     90^\r\n";
    const std::string texts[] = {lesson,
                                 "a^\nb^\ncd^\n",          // line feeds only: a character lost
                                 "a^\r\nb\x1A^\r\nc^\r\n", // Ctrl-Z ends the text
                                 "a^\r\n^\r\n^",
                                 "",
                                 "sem circunflexo",
                                 "^^^^^^^^^^^^^^^^^^^^^^"};
    const auto file = std::filesystem::temp_directory_path() / "vt_lesson_lines.aul";
    for (const std::string& text : texts) {
        std::ofstream(file, std::ios::binary) << text;
        OpenTextFile(file.string(), false);
        std::vector<std::string> read;
        read.reserve(7);
        for (int i = 0; i < 7; ++i)
            read.push_back(ReadNextLine());
        CloseTextFile();
        EXPECT_EQ(LessonLines(text), read) << text;
    }
    std::filesystem::remove(file);
}

TEST(ReadNextLine, FailsWhenNoFileIsOpen) {
    OpenTextFile(fixture("no-such-lesson.aul"), false);
    EXPECT_EQ(errorOf([] { ReadNextLine(); }), "I/O error 104");
    CloseTextFile();
}

TEST(LessonFields, CodesComeInGroupsOfThreeFromCharacterTen) {
    EXPECT_EQ(LessonCodes("Texto:   0650830"), (std::vector<int>{65, 83})); // 7 characters: 2 codes
    EXPECT_TRUE(LessonCodes("Texto:   06").empty());                        // 2 characters: none
    EXPECT_TRUE(LessonCodes("").empty());                                   // a missing line
    EXPECT_EQ(LessonCodes("Texto:   300000"), (std::vector<int>{300, 0}));  // parsed whole; the loader cuts
    EXPECT_EQ(errorOf([] { LessonCodes("Texto:   0650a6"); }), "'0a6' is not a valid integer value");
    // At most 9999 characters of the line are read: 3333 codes.
    EXPECT_EQ(LessonCodes("Texto:   " + std::string(12000, '1')).size(), 3333u);
}

TEST(LessonFields, FixedColumnsAndTheirErrors) {
    EXPECT_EQ(LessonStartKey("Tecla:   112"), 112);
    EXPECT_EQ(LessonStartKey("Tecla:   11299"), 112); // characters 10 to 12 only
    EXPECT_EQ(errorOf([] { LessonStartKey("Tecla:   F1 "); }), "'F1 ' is not a valid integer value");
    EXPECT_EQ(errorOf([] { LessonStartKey(""); }), "'' is not a valid integer value");
    EXPECT_EQ(LessonWordsToType("Palavras:    10"), 10);
    EXPECT_EQ(LessonWordsToType("Palavras:    " + std::string(254, ' ') + "7"), 7);
    // Character 269 on is not read: a long line with blanks after the number fails on the blanks only
    // when they lie within characters 14 to 268.
    EXPECT_EQ(LessonWordsToType("Palavras:    " + std::string(254, ' ') + "7" + "xyz"), 7);
    EXPECT_NEAR(LessonExpectedTime("Tempo:   00:05:00"), 300.0 / 86400.0, 1e-12);
    EXPECT_NEAR(LessonExpectedTime("Tempo:   01:30"), 5400.0 / 86400.0, 1e-12);
    EXPECT_EQ(errorOf([] { LessonExpectedTime("Tempo:   25:00"); }), "'25:00' is not a valid time");
    EXPECT_EQ(errorOf([] { LessonExpectedTime(""); }), "'' is not a valid time");
    EXPECT_EQ(LessonMinimumPercent("Porcentagem:90"), 90);
    EXPECT_EQ(errorOf([] { LessonMinimumPercent("Porcentagem:90 "); }), "'90 ' is not a valid integer value");
}

TEST(LessonFields, StartKeyNames) {
    EXPECT_EQ(StartKeyName(112), "F1");
    EXPECT_EQ(StartKeyName(121), "F10");
    EXPECT_EQ(StartKeyName(123), "F12");
    EXPECT_EQ(StartKeyName(111), "");
    EXPECT_EQ(StartKeyName(124), "");
    EXPECT_EQ(StartKeyName(100), "");
}

TEST(ReadLessonFile, ReadsSevenLinesAndIgnoresTheRest) {
    const TLessonData lesson = ReadLessonFile(fixture("trailing.aul"));
    EXPECT_EQ(lesson.Title, "Resto");
    EXPECT_EQ(lesson.StartKey, 112);
    EXPECT_EQ(lesson.Codes.size(), 5u);
    EXPECT_EQ(lesson.WordsToType, 10);
    EXPECT_EQ(lesson.MinimumPercent, 75);
    CloseTextFile();
}

// The course and the tools read the file, the report and vt-aula show its bytes: every fixture gives the
// same lines and the same lesson (or the same error) both ways, and the file is closed after reading.
TEST(ReadLessonFile, TheFileAndItsBytesGiveTheSameLessonAndTheFileIsLeftClosed) {
    const auto describe = [](const std::function<TLessonData()>& read) {
        std::string text;
        const std::string error = errorOf([&] {
            const TLessonData l = read();
            text = l.Title + "|" + l.Description + "|" + std::to_string(l.StartKey) + "|" +
                   std::to_string(l.Codes.size()) + "|" + std::to_string(l.WordsToType) + "|" +
                   std::to_string(l.ExpectedTime) + "|" + std::to_string(l.MinimumPercent);
        });
        return text + error;
    };
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fixture(""))) {
        const std::string path = entry.path().string();
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(ReadLessonLines(path), LessonLines(bytes)) << path;
        EXPECT_EQ(errorOf([] { TextFileAtEnd(); }), "I/O error 104") << path;
        EXPECT_EQ(describe([&] { return ReadLessonFile(path); }),
                  describe([&] { return LessonFromBytes(bytes); }))
            << path;
        EXPECT_EQ(errorOf([] { TextFileAtEnd(); }), "I/O error 104") << path;
        ++files;
    }
    EXPECT_GE(files, 16);
}

TEST(AdaptToLayout, OnlyLayoutOneTurnsSemicolonsIntoCedillas) {
    // Lower-case ç beside lower-case letters (what the key types), the legend Ç where it names the key.
    const std::string text = "a;b;\r\n; (A;)";
    EXPECT_EQ(AdaptToLayout(text, 1), "a\xE7"
                                      "b\xE7\r\n\xC7 (A\xC7)");
    EXPECT_EQ(AdaptToLayout(text, 0), text);
    EXPECT_EQ(AdaptToLayout(text, 2), text);
    EXPECT_EQ(AdaptToLayout(text, -1), text);
}

TEST(AdaptToLayout, ReadsTheLayoutFromTheProfile) {
    const auto dir = std::filesystem::temp_directory_path() / ("vt-layout-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto profile = (dir / "aluno").string();
    { std::ofstream(profile, std::ios::binary) << "[Keyboard]\r\nLayout=1\r\n"; }
    EXPECT_EQ(AdaptToLayout("x;y", profile), "x\xE7y");
    { std::ofstream(profile, std::ios::binary) << "[Keyboard]\r\nLayout=abnt\r\n"; }
    EXPECT_EQ(errorOf([&] { AdaptToLayout("x;y", profile); }), "'abnt' is not a valid integer value");
    // No key yet: layout 0, and the read stores the default.
    std::filesystem::remove(profile);
    EXPECT_EQ(AdaptToLayout("x;y", profile), "x;y");
    EXPECT_EQ(CurrentSettingsFile, profile);
    {
        // Closed before the folder goes: Windows removes no folder with a file open in it.
        std::ifstream in(profile, std::ios::binary);
        const std::string stored((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(stored.find("Layout=0"), std::string::npos);
    }
    CurrentSettingsFile.clear();
    std::filesystem::remove_all(dir);
}

TEST(LessonChecks, RefuseLessonsThatCannotBeTypedToAnEnd) {
    EXPECT_NO_THROW(CheckLessonCodeCount(1, "x"));
    EXPECT_NO_THROW(CheckLessonCodeCount(256, "x"));
    EXPECT_EQ(errorOf([] { CheckLessonCodeCount(257, "/p/aulas/aula3.aul"); }),
              "A aula \"/p/aulas/aula3.aul\" tem 257 teclas para digitar; o máximo é 256. A aula não pode "
              "ser feita");
    EXPECT_EQ(errorOf([] { CheckLessonCodeCount(0, "/p/aulas/aula3.aul"); }),
              "A aula \"/p/aulas/aula3.aul\" não tem nenhuma tecla para digitar (linha 4 sem códigos) e não "
              "pode ser feita");
    EXPECT_NO_THROW(CheckLessonWordCount(1, "x"));
    EXPECT_EQ(
        errorOf([] { CheckLessonWordCount(0, "a.aul"); }),
        "A aula \"a.aul\" pede 0 palavras para digitar; o número deve ser maior que zero. A aula não pode "
        "ser feita");
    EXPECT_NE(errorOf([] { CheckLessonWordCount(-5, "a.aul"); }).find("pede -5 palavras"), std::string::npos);
}

#ifndef _WIN32
#include "testFolder.h"

#include <sys/stat.h>
#include <unistd.h>

// A lesson file that is a FIFO (or a device) would wait for a writer forever: only regular files are read.
// One of a gigabyte without a line end would be read a character at a time into memory: over the cap
// it is no lesson either.
TEST(ReadLessonFile, AFifoIsNoLessonAndNeverHangsTheLoader) {
    TestFolder f;
    ASSERT_EQ(mkfifo(f.file("aula1.aul").c_str(), 0644), 0);
    f.write("aula2.aul", "Aula 2");
    ASSERT_EQ(::truncate(f.file("aula2.aul").c_str(), off_t(1) << 30), 0);
    for (const char* name : {"aula1.aul", "aula2.aul"})
        EXPECT_TRUE(EndsInTime([&] {
            _exit(errorOf([&] { ReadLessonFile(f.file(name)); }) == "I/O error 104" ? 0 : 1);
        })) << name;
}
#endif
