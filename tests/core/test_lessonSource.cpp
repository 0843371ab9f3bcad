#include "core/lessons/lessonFile.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/atomicFile.h"
#include "core/platform/vtError.h"
#include "core/storage/textFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

namespace {
const std::string kGood = "# comentário\n"
                          "Título: Palavras 3\n"
                          "Tecla: F6\n"
                          "Texto: \"Sol, ç.{Enter}\"\n"
                          "Palavras: 5\n"
                          "Tempo: 00:02:35\n"
                          "Mínimo: 94\n"
                          "Descrição:\n"
                          "Mão direita na tecla ;\n"
                          "\n"
                          "e o polegar no espaço.\n"
                          "\n\n";

// A source with one field replaced (or added when absent).
std::string with(const std::string& field, const std::string& line) {
    std::string text = kGood;
    const auto at = text.find(field + ":");
    if (at == std::string::npos)
        return text.insert(0, line + "\n");
    return text.replace(at, text.find('\n', at) - at, line);
}

std::string refusal(const std::string& source) {
    try {
        ParseLessonSource(source);
    } catch (const VtError& e) {
        return e.what();
    }
    return "(accepted)";
}

class TempFile {
public:
    TempFile() {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() / ("vt-lesson-" + std::to_string(rd()) + ".aul");
    }
    ~TempFile() {
        CloseTextFile();
        std::filesystem::remove(m_path);
    }
    std::string path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

TLessonData readBack(const std::string& bytes) {
    TempFile file;
    EXPECT_TRUE(WriteFileAtomically(file.path(), bytes));
    return ReadLessonFile(file.path());
}
} // namespace

TEST(LessonSource, CompilesToTheLessonFileLayout) {
    const std::string bytes = CompileLesson(ParseLessonSource(kGood));
    // Shift before the capital, the key right of L for both ";" and "ç", comma 188, period 190.
    EXPECT_EQ(bytes, "Palavras 3^\r\n"
                     "M\xE3o direita na tecla ;\r\n\r\ne o polegar no espa\xE7o.^\r\n"
                     "Tecla:   117^\r\n"
                     "Texto:   016083079076188032186190013^\r\n"
                     "Palavras:    5^\r\n"
                     "Tempo:   00:02:35^\r\n"
                     "Porcentagem:94^\r\n");
    // And the program's own reader finds every value at its place.
    const TLessonData lesson = readBack(bytes);
    EXPECT_EQ(lesson.Title, "Palavras 3");
    EXPECT_EQ(lesson.StartKey, 117);
    EXPECT_EQ(lesson.Codes, (std::vector<int>{16, 83, 79, 76, 188, 32, 186, 190, 13}));
    EXPECT_EQ(lesson.WordsToType, 5);
    EXPECT_DOUBLE_EQ(lesson.ExpectedTime, 155.0 / 86400.0);
    EXPECT_EQ(lesson.MinimumPercent, 94);
}

TEST(LessonSource, ReadsWhatEditorsWrite) {
    // Windows editors: a byte-order mark and CR LF; older ones save Windows-1252 instead of UTF-8.
    std::string crlf;
    for (char c : "\xEF\xBB\xBF" + kGood)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(CompileLesson(ParseLessonSource(crlf)), CompileLesson(ParseLessonSource(kGood)));
    const std::string ansi = "Titulo: Li\xE7\xE3o\nTecla: f12\nTexto: \"\xE7 \"\nPalavras: 1\nTempo: 00:01\n"
                             "Minimo: 0\nDescricao: Acentua\xE7\xE3o\n";
    const TLessonSource lesson = ParseLessonSource(ansi);
    EXPECT_EQ(lesson.Title, "Li\xE7\xE3o");
    EXPECT_EQ(lesson.StartKey, 123);
    EXPECT_EQ(lesson.Codes, (std::vector<int>{186, 32}));
    EXPECT_EQ(lesson.Description, "Acentua\xE7\xE3o");
    EXPECT_DOUBLE_EQ(lesson.TimeAllowed, 60.0 / 86400.0);
}

TEST(LessonSource, ShowsAFileAsASourceThatCompilesBackToIt) {
    // Lone Shift, a key without a character, the odd punctuation keys: all survive the round trip.
    const std::string source = with("Texto", "Texto: \"Ab{Shift}1{008}-=/`[]\\'Ç{Enter}\"");
    const std::string bytes = CompileLesson(ParseLessonSource(source));
    const std::string shown = ShowLesson(readBack(bytes));
    // (Shift and 1 is "!", the same keys in both layouts.)
    EXPECT_NE(shown.find("Texto: \"Ab!{008}-=/`[]\\'{Shift};{Enter}\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("# 17 teclas por palavra, 5 palavras: 85 teclas ao todo, 33 por minuto"),
              std::string::npos)
        << shown;
    EXPECT_EQ(CompileLesson(ParseLessonSource(shown)), bytes);
    EXPECT_EQ(CodesToSourceText({16, 32, 300, 0}), "{Shift} {300}{000}");
}

TEST(LessonSource, SymbolsWithShiftAndTheTextAsStudentsSeeIt) {
    // Symbols that Shift gives on the same key in both layouts compile to Shift and that key, and
    // show back as themselves.
    const TLessonSource lesson = ParseLessonSource(with("Texto", "Texto: \"Fone (11) $ 5-6!{Enter}\""));
    EXPECT_EQ(lesson.Codes, (std::vector<int>{16, 70, 79, 78, 69, 32, 16,  57, 49, 49, 16,
                                              48, 32, 16, 52, 32, 53, 189, 54, 16, 49, 13}));
    EXPECT_EQ(CodesToSourceText(lesson.Codes), "Fone (11) $ 5-6!{Enter}");
    EXPECT_EQ(CodesToSourceText({16, 50, 16, 51, 16, 53, 16, 55, 16, 56, 16, 189, 16, 187, 16, 188, 16, 190}),
              "@#%&*_+<>");

    // The text a description and a picture show: the closing key left out, the key right of L as
    // ç on ABNT2, the word's ç between letters and otherwise ";" on the American layout.
    const struct {
        std::vector<int> codes;
        std::string american, abnt2;
    } cases[] = {
        {{74, 75, 76, 186, 32}, "jkl;", "jkl\xE7"},
        {{70, 79, 82, 186, 65, 13},
         "for\xE7"
         "a",
         "for\xE7"
         "a"},
        {{186, 80, 186, 32, 65, 13}, ";p; a", "\xE7p\xE7 a"},
        {{16, 65, 16, 186, 16, 49, 32}, "A:!", "A\xC7!"},
        {{16, 57, 49, 16, 48, 13}, "(1)", "(1)"},
        {{32}, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToType(c.codes, 0), c.american);
        EXPECT_EQ(TextToType(c.codes, 1), c.abnt2);
    }
}

TEST(LessonSource, RefusesWithTheLineAndTheReason) {
    const std::string tooLong = "Texto: \"" + std::string(256, 'a') + " \"";
    const struct {
        std::string source;
        std::string message;
    } cases[] = {
        // ? and : sit on different keys in the American and the ABNT2 layouts.
        {with("Texto", "Texto: \"a? \""), "Linha 4: o caractere \"?\" não tem tecla no teclado da tela."},
        {with("Texto", "Texto: \"a: \""), "Linha 4: o caractere \":\" não tem tecla no teclado da tela."},
        {with("Texto", "Texto: \"ã \""), "Linha 4: o caractere \"ã\" não tem tecla no teclado da tela."},
        {with("Texto", tooLong), "Linha 4: o texto tem 257 teclas; o máximo é 256."},
        {with("Texto", "Texto: \"asa sala \""), "Linha 4: o texto termina com o espaço, que já aparece antes "
                                                "(na tecla 4); a última tecla encerra cada palavra e "
                                                "não pode aparecer antes dela."},
        {with("Texto", "Texto: \"{Enter}a{Enter}\""),
         "Linha 4: o texto termina com Enter, que já aparece antes (na tecla 1)"},
        {with("Texto", "Texto: \"\""), "Linha 4: o texto não tem nenhuma tecla."},
        // A held Shift is pressed once: two shifted characters in a row would need it twice.
        {with("Texto", "Texto: \"Deu R$ 5{Enter}\""),
         "Linha 4: o texto pede dois caracteres com Shift seguidos (\"R$\", teclas 6 a 9); quem segura"},
        {with("Texto", "Texto: asdf"), "Linha 4: o texto vai entre aspas"},
        {with("Texto", "Texto: \"a{Tab} \""), "Linha 4: \"{Tab}\" não é uma tecla conhecida"},
        {with("Texto", "Texto: \"a{100} \""), "Linha 4: a tecla {100} não existe no teclado da tela."},
        {with("Texto", "Texto: \"a{Enter \""), "Linha 4: falta fechar \"{\" com \"}\" no texto."},
        {with("Tecla", "Tecla: F13"), "Linha 3: a tecla de início deve ser uma de F1 a F12, e não \"F13\"."},
        {with("Tecla", "Tecla: F0"), "Linha 3: a tecla de início deve ser uma de F1 a F12"},
        {with("Tecla", "Tecla: 112"), "Linha 3: a tecla de início deve ser uma de F1 a F12"},
        {with("Tecla", "Tecla: F+1"), "Linha 3: a tecla de início deve ser uma de F1 a F12"},
        {with("Palavras", "Palavras: dez"), "Linha 5: \"dez\" não é um número inteiro (Palavras)."},
        {with("Palavras", "Palavras: 0"), "Linha 5: o número de palavras deve ser pelo menos 1."},
        {with("Tempo", "Tempo: 25:00"), "Linha 6: \"25:00\" não é um tempo válido; escreva hh:mm:ss"},
        {with("Tempo", "Tempo: 2 min"), "Linha 6: \"2 min\" não é um tempo válido"},
        {with("Tempo", "Tempo: 00:00:00"), "Linha 6: o tempo deve ser maior que 00:00:00."},
        {with("Mínimo", "Mínimo: 101"), "Linha 7: o mínimo é uma porcentagem, de 0 a 100."},
        {with("Mínimo", "Mínimo: 9O"), "Linha 7: \"9O\" não é um número inteiro (Mínimo)."},
        {with("Título", "Título: a^b"), "Linha 2: o título não pode conter \"^\""},
        {with("Título", "Título: seta →"), "Linha 2: o caractere \"→\" não existe no conjunto de caracteres"},
        {with("Título", "Titulo:"), "Linha 2: o título está vazio."},
        {with("Palavras", "Palavras: 5\nPalavras: 6"),
         "Linha 6: o campo Palavras aparece duas vezes (antes na linha 5)."},
        {with("Tempo", "Tmpo: 00:01:00"), "Linha 6: \"Tmpo\" não é um campo"},
        {with("Tempo", "00:01:00"), "Linha 6: \"00\" não é um campo"},
        {with("Tempo", "# sem tempo"), "Linha 13: falta o campo Tempo."},
        {"", "Linha 1: falta o campo Título."},
        {kGood + "um ^ no meio\n", "Linha 14: a descrição não pode conter \"^\""},
        // What the loader would cut short: "^" on the field's own line, Ctrl-Z (its end of file).
        {with("Descrição", "Descrição: logo ^ aqui"), "Linha 8: a descrição não pode conter \"^\""},
        {kGood + "antes\x1A depois\n", "Linha 14: a descrição não pode conter o caractere de controle 26"},
        {with("Título", "Título: a\x1A"), "Linha 2: o título não pode conter o caractere de controle 26"},
    };
    for (const auto& c : cases) {
        const std::string got = refusal(c.source);
        EXPECT_EQ(got.substr(0, c.message.size()), c.message) << c.source;
    }
}

TEST(LessonSource, KeysOfTheKeyboard) {
    for (int code : {8, 13, 16, 20, 32, 48, 57, 65, 90, 186, 192, 219, 222})
        EXPECT_TRUE(CodeHasKey(code)) << code;
    for (int code : {0, 9, 27, 47, 58, 64, 91, 112, 185, 193, 218, 223, 300})
        EXPECT_FALSE(CodeHasKey(code)) << code;

    // A line added to the keyboard's table must not shadow another key: one label, one X keycode,
    // one key a place; a relabelled key has both layouts' legends; every key inside the keyboard.
    std::set<std::string> names;
    std::set<int> places;
    for (const TKeyboardKey& key : KeyboardKeys()) {
        EXPECT_TRUE(!key.xKeycode || places.insert(key.xKeycode).second) << int(key.xKeycode);
        if (!key.OnScreen())
            continue;
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
        EXPECT_TRUE(!key.layout0 || key.abnt2) << key.name;
        EXPECT_TRUE(key.left >= 0 && key.top >= 0 && key.left + key.width <= 243 &&
                    key.top + key.height <= 92)
            << key.name;
    }
    EXPECT_EQ(names.size(), 56u);
}

// Whatever the compiler writes, the program loads back as the very lesson compiled: the course's own
// sources and the inputs the fuzzer keeps.
TEST(LessonSource, EveryCompiledFileLoadsBackAsTheSameLesson) {
    std::vector<std::filesystem::path> sources;
    for (const char* folder : {"/course", "/fuzz/corpus/lesson_source", "/fuzz/crashes/lesson_source"})
        if (std::filesystem::is_directory(std::string(VT_SOURCE_DIR) + folder))
            for (const auto& entry : std::filesystem::directory_iterator(std::string(VT_SOURCE_DIR) + folder))
                sources.push_back(entry.path());
    ASSERT_GE(sources.size(), 24u);
    int compiled = 0;
    for (const auto& path : sources) {
        TLessonSource lesson;
        try {
            lesson = ParseLessonSource(*ReadWholeFile(path));
        } catch (const VtError&) {
            continue;
        }
        ++compiled;
        const std::string bytes = CompileLesson(lesson);
        std::string problem;
        try {
            problem = CompiledLessonMismatch(lesson, readBack(bytes));
        } catch (const VtError& e) {
            problem = e.what();
        }
        EXPECT_EQ(problem, "") << path;
    }
    EXPECT_GE(compiled, 24);
    // The comparison itself sees a difference.
    TLessonSource lesson = ParseLessonSource(kGood);
    TLessonData loaded = readBack(CompileLesson(lesson));
    loaded.Description.pop_back();
    EXPECT_NE(CompiledLessonMismatch(lesson, loaded), "");
}
