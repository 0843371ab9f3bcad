// The class report's reading of a generated class folder, its CSV, and the exercise history.
#include "core/exercise/exerciseState.h"
#include "core/exercise/history.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"
#include "core/report/classReport.h"
#include "core/report/keyReport.h"
#include "core/storage/password.h"
#include "finishedExercise.h"
#include "testFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <map>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

// A class of five: an administrator well on, a fresh student, one who finished, a damaged file and one
// with two values the course could not convert; plus what the roster does not list.
void writeClass(const TestFolder& f) {
    std::string ana = "[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nInformation=\r\nControl=0\r\n"
                      "[Keyboard]\r\nLayout=1\r\n[Config]\r\nAulaAtual=5\r\nWordOK=120\r\nWordErr=8\r\n"
                      "CharOK=4000\r\nCharErr=200\r\nTempoTotal=00:30:00\r\nPorcent=93\r\n";
    for (int n = 2; n <= 6; ++n)
        ana += "[Aula" + std::to_string(n) + "]\r\nHabilitado=1\r\n";
    ana += "[Aula7]\r\nHabilitado=0\r\n"; // a reader's default false: not passed
    f.write("users/ana", ana);
    f.write("users/Bruno", ""); // put there by hand: every reader's default
    std::string carla =
        "[Definition]\r\nControl=1\r\n[Keyboard]\r\nLayout=0\r\n[Config]\r\nAulaAtual=-1\r\n"
        "WordOK=900\r\nWordErr=3\r\nCharOK=1004\r\nCharErr=1\r\nTempoTotal=00:08:00\r\nPorcent=99\r\n";
    for (int n = 1; n <= 25; ++n)
        carla += "[Aula" + std::to_string(n) + "]\r\nHabilitado=1\r\n";
    f.write("users/carla", carla);
    f.write("users/dora", std::string("[Config]\r\nWordOK=1\0\0\0\xFF", 22));
    f.write("users/\xC3\x89va",
            "[Definition]\r\nControl=abc\r\n[Config]\r\nWordErr=x1\r\nTempoTotal=25:00:00\r\n");
    f.write("users/.ana.1234.tmp", "[Config]\r\n"); // a temporary left by a kill
    f.write("users/pasta/arquivo", "[Config]\r\n"); // a folder is no student
#ifndef _WIN32
    // Nor a link a member planted, to an administrator's profile elsewhere.
    f.write("fora/zeca", "[Definition]\r\nControl=0\r\n");
    fs::create_symlink(f.path() / "fora" / "zeca", f.path() / "users" / "zeca");
#endif
}

std::vector<std::string> texts(const std::vector<TReportCell>& cells) {
    std::vector<std::string> out;
    out.reserve(cells.size());
    for (const auto& c : cells)
        out.push_back(c.Text);
    return out;
}

const std::string kDash = kUnreadable;

} // namespace

TEST(ClassReport, EveryColumnOfAGeneratedClass) {
    TestFolder f;
    writeClass(f);
    // Reforço exercises are counted apart from the lessons' (and a lesson's line is no Reforço; dated
    // ahead, as by a clock set wrong, so that the situation does not change with the day the test runs).
    f.write("historico/carla.csv", std::string(kHistoryHeader) +
                                       "\r\n2999-01-01T14:00:00-03:00;13;10;0;40;2;50;95;1;0;\r\n"
                                       "2026-12-09T14:05:00-03:00;13;15;1;290;10;170;96;1;1;\r\n"
                                       "2026-12-09T14:09:00-03:00;13;15;0;300;0;160;100;1;1;\r\n");
    EXPECT_EQ(ReportDataFolder(), f.path());
    std::string problem;
    const auto rows = ReadClass(ReportDataFolder(), &problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(rows.size(), 5u);
    using V = std::vector<std::string>;
    // Names in the roster's order: letter case and accents aside.
    EXPECT_EQ(texts(rows[0].Cells), (V{"ana", "Administrador", "ABNT II", "5", "6", "120", "8", "4000", "200",
                                       "95", "00:30:00", "140", "Não", "", "Em dia", "0"}));
    // Nothing typed: no accuracy, no keys per minute, and no exercise anywhere.
    EXPECT_EQ(texts(rows[1].Cells),
              (V{"Bruno", "Aluno", "Padrão Americano ou ABNT I", "0", "1", "0", "0", "0", "0", kDash,
                 "00:00:00", kDash, "Não", "", "Sem exercícios", "0"}));
    // 1005 keys in 8 minutes are 125.6 a minute: rounded, not cut.
    EXPECT_EQ(texts(rows[2].Cells),
              (V{"carla", "Aluno", "Padrão Americano ou ABNT I", "24", "", "900", "3", "1004", "1", "99",
                 "00:08:00", "126", "Sim", "2999-01-01", "Em dia", "2"}));
    EXPECT_EQ(rows[2].Cells[kReforcoColumn].Note,
              "Treinos das teclas mais erradas: 98% de acerto. Não contam nas aulas.");
    // Accuracy from the keys, not the stored running mean (which starts at 100); none typed, none shown.
    EXPECT_EQ(rows[1].Cells[9].Note, "Nenhuma tecla registrada: sem porcentagem de acerto");
    EXPECT_EQ(rows[3].Name, "dora");
    EXPECT_EQ(rows[3].FileProblem, "Arquivo danificado: não é um arquivo de texto");
    V dora{"dora"};
    dora.resize(16, kDash);
    dora[13] = "";
    EXPECT_EQ(texts(rows[3].Cells), dora);
    for (std::size_t c : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15})
        EXPECT_EQ(rows[3].Cells[c].Problem, rows[3].FileProblem);
    // One bad value spoils its own cell and the figure made from it, nothing else.
    const auto& eva = rows[4].Cells;
    EXPECT_EQ(texts(eva), (V{"\xC3\x89va", kDash, "Padrão Americano ou ABNT I", "0", "1", "0", kDash, "0",
                             "0", kDash, kDash, kDash, "Não", "", "Sem exercícios", "0"}));
    EXPECT_EQ(eva[1].Problem, "users/\xC3\x89va: [Definition] Control = \"abc\" não é um número inteiro");
    EXPECT_EQ(eva[6].Problem, "users/\xC3\x89va: [Config] WordErr = \"x1\" não é um número inteiro");
    EXPECT_EQ(eva[10].Problem,
              "users/\xC3\x89va: [Config] TempoTotal = \"25:00:00\" não é um tempo (hh:mm:ss)");
    EXPECT_EQ(eva[11].Problem, eva[10].Problem);
    for (int c : {0, 2, 3, 4, 5, 7, 12})
        EXPECT_EQ(eva[static_cast<std::size_t>(c)].Problem, "") << c;
}

TEST(ClassReport, ValuesAreFoundAsTheCourseFindsThem) {
    // Names without regard to case, blanks around them, the first section of a name and the first key.
    TestFolder f;
    const std::string text =
        "[config]\r\n wordok = 7 \r\nWordOK=9\r\n\r\n[Aula25]\r\nHabilitado=0\r\n[CONFIG]\r\n"
        "WordErr=5\r\n[Config]\r\nCharOK=3\r\n[ aula25 ]\r\nHabilitado=1\r\n[Definition\r\n"
        "Control=0\n[Keyboard]\nLayout =1";
    f.write("users/ana", text);
    const auto row = ReadStudentRow(f.path() / "users" / "ana");
    using V = std::vector<std::string>;
    EXPECT_EQ(texts(row.Cells), (V{"ana", "Aluno", "ABNT II", "0", "1", "7", "0", "0", "0", kDash, "00:00:00",
                                   kDash, "N\xC3\xA3o"}));
    for (const char* key : {"WordOK", "WordErr", "CharOK"})
        EXPECT_EQ(IniGetValue(text, "Config", key).value_or("0"), row.Cells[key[0] == 'C'   ? 7
                                                                            : key[4] == 'O' ? 5
                                                                                            : 6]
                                                                      .Text)
            << key;
    // A file saved by Notepad starts with a byte order mark, which is no part of its first section.
    f.write("users/ana", "\xEF\xBB\xBF" + text);
    EXPECT_EQ(texts(ReadStudentRow(f.path() / "users" / "ana").Cells), texts(row.Cells));
}

TEST(ClassReport, ReadingWritesNothing) {
    TestFolder f;
    writeClass(f);
    auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(f.path()))
            if (e.is_regular_file())
                files[e.path().string()] = f.read(fs::relative(e.path(), f.path()).string());
        return files;
    };
    const auto before = snapshot();
    const auto rows = ReadClass(f.path());
    StudentLessonRows(f.path(), rows[1], ReadLessonFacts(f.path())); // no lesson file, no result file
    EXPECT_EQ(snapshot(), before);
    // A class folder without users is reported, not made.
    TestFolder empty;
    std::string problem;
    EXPECT_TRUE(ReadClass(empty.path(), &problem).empty());
    EXPECT_NE(problem.find("não pôde ser lida"), std::string::npos);
    EXPECT_FALSE(empty.exists("users"));
}

TEST(ClassReport, TheAccessRuleReadsAndNeverWrites) {
    TestFolder f;
    writeClass(f);
    EXPECT_TRUE(ClassHasAdministrator(f.path()));
    f.write("users/ana", "[Definition]\r\nControl=0\r\nInformation=" + EncodePassword("abc") + "\r\n");
    f.write("users/nopass", "[Definition]\r\nControl=0\r\n"); // no password stored: none asked
    struct Case {
        const char* name;
        const char* password;
        const char* message;
    } cases[] = {{"ANA", "abc", ""},
                 {"ana", "abd", "Usuário ou senha inválidas."},
                 {"ninguem", "abc", "Usuário ou senha inválidas."},
                 {"dora", "x", "Usuário ou senha inválidas."}, // damaged
                 {"carla", "x", "!!! Este usuário não tem permissão para fazer alterações !!!"},
                 {"nopass", "x", ""}};
    for (const Case& c : cases) {
        const TAccessVerdict v = CheckReportAccess(f.path(), c.name, c.password);
        EXPECT_EQ(v.Message, c.message) << c.name;
        EXPECT_EQ(v.Granted, *c.message == 0) << c.name;
    }
    EXPECT_EQ(CheckReportAccess(f.path(), "ANA", "abc").Name, "ana");
    EXPECT_EQ(f.read("users/nopass"), "[Definition]\r\nControl=0\r\n");
    f.write("users/ana", "");
    f.write("users/nopass", "");
    EXPECT_FALSE(ClassHasAdministrator(f.path()));
}

TEST(ClassReport, TheDataFolderIsTheFirstWhoseStudentsCanBeRead) {
    TestFolder f;
    f.write("exe/aulas/aula1.aul", "");
    f.write("home/velotecla/users/ana", "");
    DataEnvironment env;
    env.userFolder = f.path() / "home";
    env.sharedFolder = f.path() / "shared";
    // The program's own folder has lessons but no users: the shared folder is missing, the user's is read.
    DataPlaces p = ReportDataPlaces(f.path() / "exe", env);
    EXPECT_EQ(p.dataFolder, f.path() / "home" / "velotecla");
    EXPECT_EQ(p.installed, f.path() / "exe");
    EXPECT_NE(p.notice.find(PathToUtf8(f.path() / "exe" / "users")), std::string::npos) << p.notice;
#ifndef _WIN32
    // A teacher's own roster that they may read but not write is still the class (for root every
    // folder can be written: only a run as an ordinary user tells).
    for (const char* folder : {"home/velotecla/users", "home/velotecla"})
        std::filesystem::permissions(f.at(folder),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(ReportDataPlaces(f.path() / "exe", env).dataFolder, f.path() / "home" / "velotecla");
    for (const char* folder : {"home/velotecla", "home/velotecla/users"})
        std::filesystem::permissions(f.at(folder), std::filesystem::perms::owner_all);
#endif
    f.write("exe/users/bia", "");
    EXPECT_EQ(ReportDataPlaces(f.path() / "exe", env).dataFolder, f.path() / "exe");
    // A relative name is not taken in the current folder: the user's own folder is read instead.
    f.write("velotecla/users/rel", "");
    env.namedFolder = "velotecla";
    const fs::path started = fs::current_path();
    fs::current_path(f.path());
    p = ReportDataPlaces(f.path() / "exe", env);
    fs::current_path(started);
    EXPECT_EQ(p.dataFolder, f.path() / "home" / "velotecla");
    EXPECT_NE(p.notice.find("\"velotecla\", não é um caminho completo"), std::string::npos) << p.notice;
    // A named folder that is missing is not made; with no readable folder the first one is kept.
    env.namedFolder = (f.path() / "named").string();
    env.userFolder = f.path() / "nohome";
    p = ReportDataPlaces(f.path() / "exe", env);
    EXPECT_EQ(p.dataFolder, f.path() / "named");
    EXPECT_FALSE(f.exists("named"));
    EXPECT_FALSE(f.exists("nohome"));
    // No HOME nor XDG_DATA_HOME: no fixed folder in the temporary folder (anyone's), as for the course.
    env.userFolder.clear();
    p = ReportDataPlaces(f.path() / "exe", env);
    EXPECT_TRUE(p.unusable);
    EXPECT_NE(p.notice.find("HOME e XDG_DATA_HOME"), std::string::npos) << p.notice;
    EXPECT_EQ(p.dataFolder.string().find(fs::temp_directory_path().string()), std::string::npos);
}

TEST(ClassReport, SortingAndTheFilter) {
    TestFolder f;
    writeClass(f);
    f.write("users/\xC3\xA1lvaro",
            "[Config]\r\nCharOK=900\r\nTempoTotal=00:10:00\r\n"); // álvaro: 90 a minute
    auto rows = ReadClass(f.path());
    auto order = [&](std::size_t column, bool descending) {
        std::stable_sort(rows.begin(), rows.end(), [&](const TStudentRow& a, const TStudentRow& b) {
            const int c = CompareCells(a.Cells[column], b.Cells[column]);
            return descending ? c > 0 : c < 0;
        });
        std::vector<std::string> names;
        names.reserve(rows.size());
        for (const auto& r : rows)
            names.push_back(r.Name);
        return names;
    };
    using V = std::vector<std::string>;
    // Names: accents and letter case aside ("álvaro" before "ana", "Bruno" before "carla").
    EXPECT_EQ(order(0, false), (V{"\xC3\xA1lvaro", "ana", "Bruno", "carla", "dora", "\xC3\x89va"}));
    // Keys per minute by value (90 before 126 before 140, not as text); unreadable cells first.
    EXPECT_EQ(order(11, false), (V{"dora", "\xC3\x89va", "Bruno", "\xC3\xA1lvaro", "carla", "ana"}));
    EXPECT_EQ(order(11, true), (V{"ana", "carla", "\xC3\xA1lvaro", "Bruno", "dora", "\xC3\x89va"}));
    // Total time as a duration; the current lesson with "none" below lesson 1.
    EXPECT_EQ(order(10, false), (V{"dora", "\xC3\x89va", "Bruno", "carla", "\xC3\xA1lvaro", "ana"}));
    EXPECT_EQ(order(4, false)[1], "carla");

    struct Case {
        const char* name;
        const char* filter;
        bool match;
    } cases[] = {{"Jo\xC3\xA3o", "joao", true},
                 {"Jo\xC3\xA3o", "JO\xC3\x83", true},
                 {"Maria", "ar", true},
                 {"Maria", "x", false},
                 {"Maria", "", true},
                 {"\xC3\x89va", "eva", true},
                 {"Concei\xC3\xA7\xC3\xA3o", "ceicao", true},
                 {"ana", "ana lu", false}};
    for (const Case& c : cases)
        EXPECT_EQ(NameMatchesFilter(c.name, c.filter), c.match) << c.name << " / " << c.filter;
}

TEST(ClassReport, TheCsvBytes) {
    TestFolder f;
    f.write("users/ana", "[Definition]\r\nControl=0\r\n[Config]\r\nCharOK=4000\r\nCharErr=200\r\n"
                         "TempoTotal=00:30:00\r\nPorcent=93\r\n");
    // The final test passed: one lesson done (the 24th), and the diploma. Windows names cannot hold a
    // double quote, so there only the separator is quoted.
#ifdef _WIN32
    const std::string name = "Z\xC3\xA9; o Rei", quoted = "\"Z\xC3\xA9; o Rei\"";
#else
    const std::string name = "Z\xC3\xA9; o \"Rei\"", quoted = "\"Z\xC3\xA9; o \"\"Rei\"\"\"";
#endif
    f.write("users/" + name, "[Keyboard]\r\nLayout=1\r\n[Aula25]\r\nHabilitado=1\r\n");
    EXPECT_EQ(
        ClassCsv(ReadClass(f.path())),
        "\xEF\xBB\xBF"
        "Aluno;Nível;Teclado;Aulas concluídas;Aula atual;Palavras certas;Palavras erradas;Teclas certas;"
        "Teclas erradas;Acerto (%);Tempo total;Teclas por minuto;Diploma;Último "
        "exercício;Situação;Reforços\r\n"
        "ana;Administrador;Padrão Americano ou ABNT I;0;1;0;0;4000;200;95;00:30:00;140;Não;;Em dia;0\r\n" +
            quoted + ";Aluno;ABNT II;1;1;0;0;0;0;—;00:00:00;—;Sim;;Sem exercícios;0\r\n");
    // A name a spreadsheet would run as a formula goes out as text; a name that is not UTF-8 goes out
    // with a replacement character, so the file stays UTF-8.
    TestFolder g;
    g.write("users/=HYPERLINK(x)", "[Config]\r\nWordErr=-3\r\n");
#ifndef _WIN32 // Windows names are UTF-16: every one is valid
    g.write("users/\xE9va", "");
#endif
    const std::string csv = ClassCsv(ReadClass(g.path()));
    EXPECT_NE(csv.find("\r\n'=HYPERLINK(x);Aluno;Padr\xC3\xA3o Americano ou ABNT I;0;1;0;-3;"),
              std::string::npos)
        << csv;
#ifndef _WIN32
    EXPECT_NE(csv.find("\r\n\xEF\xBF\xBDva;Aluno;"), std::string::npos) << csv;
#endif
    struct Field {
        const char* text;
        bool number;
        const char* out;
    } fields[] = {{"=1+1", false, "'=1+1"}, {"+55 11", false, "'+55 11"},
                  {"-x", false, "'-x"},     {"@SUM(A1)", false, "'@SUM(A1)"},
                  {"\tx", false, "'\tx"},   {"\rx", false, "\"'\rx\""},
                  {"-3", true, "-3"},       {"a=b", false, "a=b"},
                  {"", false, ""},          {"a\xFF\xC3", false, "a\xEF\xBF\xBD\xEF\xBF\xBD"}};
    for (const Field& c : fields)
        EXPECT_EQ(CsvField(c.text, c.number), c.out) << c.text;
    EXPECT_EQ(DecimalComma(87.46, 1), "87,5");
    EXPECT_EQ(DecimalComma(3, 2), "3,00");
}

TEST(ClassReport, AStudentsLessonsBesideTheLessonFiles) {
    TestFolder f;
    f.write("users/ana", "[Aula1]\r\nHabilitado=1\r\n[Aula2]\r\nHabilitado=1\r\n[Aula3]\r\nHabilitado=1\r\n"
                         "[Aula4]\r\nHabilitado=1\r\n");
    f.write("aulas/aula3.aul",
            "Fileira do meio^\r\nDescri\xE7\xE3o^\r\nTecla:   116^\r\nTexto:   065083032^\r\n"
            "Palavras:    10^\r\nTempo:   00:02:30^\r\nMinimo:     90^\r\n");
    f.write("aulas/aula4.aul", "Quatro^\r\n^\r\nTecla:   116^\r\nTexto:   065^\r\nPalavras:    10^\r\n"
                               "Tempo:   meia hora^\r\n\x1AMinimo:     90^\r\n"); // nothing after Ctrl-Z
    f.write("aulas/aula3_ana.def", "[Config]\r\nWordOK=18\r\nWordErr=2\r\nCharOK=120\r\nCharErr=22\r\n"
                                   "TempoTotal=00:01:30\r\nPorcent=88\r\n");
    f.write("aulas/aula4_ana.def", std::string("\0\0", 2));
    const auto lessons = ReadLessonFacts(f.path());
    ASSERT_EQ(lessons.size(), 24u);
    const auto rows = StudentLessonRows(f.path(), ReadClass(f.path())[0], lessons);
    ASSERT_EQ(rows.size(), 24u);
    using V = std::vector<std::string>;
    // 142 keys in a minute and a half: 94.7 a minute, with a decimal comma.
    EXPECT_EQ(texts(rows[2]), (V{"3", "Fileira do meio", "Sim", "18", "2", "120", "22", "94,7", "84", "90",
                                 "00:01:30", "00:02:30", "Sim"}));
    EXPECT_EQ(texts(rows[3]), (V{"4", "Quatro", "Sim", kDash, kDash, kDash, kDash, kDash, kDash, kDash, kDash,
                                 kDash, "Não"}));
    EXPECT_EQ(rows[3][3].Problem, "aulas/aula4_ana.def: Arquivo danificado: não é um arquivo de texto");
    EXPECT_EQ(rows[3][9].Problem,
              "aulas/aula4.aul, porcentagem mínima (linha 7): '' is not a valid integer value");
    EXPECT_EQ(rows[3][11].Problem,
              "aulas/aula4.aul, tempo permitido (linha 6): 'meia hora' is not a valid time");
    // Never done, and no lesson file: empty figures, the lesson's own cells say why.
    EXPECT_EQ(texts(rows[0]), (V{"1", kDash, "Sim", "", "", "", "", "", "", kDash, "", kDash, "Sim"}));
    EXPECT_EQ(rows[0][1].Problem, "aulas/aula1.aul não pôde ser lido: o arquivo ou a pasta não existe");
    EXPECT_EQ(texts(rows[23]).back(), "Não");

    // The time from the history where it holds every exercise of the lesson (the stored one wraps at 24
    // hours); the accuracy from the keys, never the stored 250; a lesson chosen but never typed; keys
    // out of range.
    f.write("aulas/aula5_ana.def", "[Config]\r\nCharOK=300000\r\nTempoTotal=00:30:00\r\nPorcent=250\r\n");
    f.write("aulas/aula6_ana.def", "[Config]\r\nPorcent=100\r\n");
    f.write("aulas/aula7_ana.def", "[Config]\r\nCharOK=10\r\nCharErr=-5\r\nTempoTotal=00:01:00\r\n");
    THistory h = ParseHistory("2026-12-01T10:00:00-03:00;5;0;0;100000;0;45000;100;1\r\n"
                              "2026-12-02T10:00:00-03:00;5;0;0;200000;0;45000;100;1;0;;mais;campos\r\n");
    auto more = StudentLessonRows(f.path(), ReadClass(f.path())[0], lessons, &h);
    EXPECT_EQ(texts(more[4]), (V{"5", kDash, "Não", "0", "0", "300000", "0", "200,0", "100", kDash,
                                 "25:00:00", kDash, "Não"}));
    EXPECT_EQ(more[4][10].Note, "Soma dos 2 exercícios desta aula no histórico");
    EXPECT_EQ(more[4][7].Note, more[4][10].Note);
    EXPECT_EQ(texts(more[5])[8], kDash);
    EXPECT_EQ(more[5][8].Note, "Nenhuma tecla registrada: sem porcentagem de acerto");
    // Chosen, never finished: no speed, and the reason is the lesson's, not the history's.
    EXPECT_EQ(texts(more[5])[7], kDash);
    EXPECT_EQ(more[5][7].Note, "Aula escolhida, mas nenhum exercício dela foi terminado");
    EXPECT_EQ(more[5][10].Note, "");
    EXPECT_EQ(more[6][8].Problem, "Teclas certas ou erradas negativas (10, -5): valor fora do intervalo");
    EXPECT_EQ(more[6][7].Problem, more[6][8].Problem); // a negative count feeds no speed either
    // Without a history that covers the lesson, the stored time, said so.
    h = ParseHistory("2026-12-01T10:00:00-03:00;5;0;0;100000;0;45000;100;1\r\n");
    more = StudentLessonRows(f.path(), ReadClass(f.path())[0], lessons, &h);
    EXPECT_EQ(texts(more[4])[10], "00:30:00");
    EXPECT_EQ(more[4][10].Note.rfind("Tempo guardado no arquivo da aula", 0), 0u);
}

#ifndef _WIN32 // a symbolic link
TEST(ClassReport, AnAulasFolderThatCannotBeSearchedIsNoLessonNeverDone) {
    // aulas/ a link to itself: nothing in it can be looked at, which is not "never done".
    TestFolder f;
    f.write("users/ana", "[Aula1]\r\nHabilitado=1\r\n");
    fs::create_directory_symlink("aulas", f.path() / "aulas");
    const auto rows = StudentLessonRows(f.path(), ReadClass(f.path())[0], ReadLessonFacts(f.path()));
    for (std::size_t c = 3; c <= 8; ++c) {
        EXPECT_EQ(rows[0][c].Text, kDash) << c;
        EXPECT_EQ(rows[0][c].Problem,
                  "aulas/aula1_ana.def: O arquivo não pôde ser lido: uma parte do caminho não é uma pasta")
            << c;
    }
}
#endif

TEST(ClassReport, TheCurrentLessonIsOneOfTheTwentyFour) {
    TestFolder f;
    struct Case {
        const char* stored;
        const char* shown;
    } cases[] = {{"-1", ""}, {"0", "1"}, {"23", "24"}, {"24", ""}, {"x", kUnreadable}};
    for (const Case& c : cases) {
        f.write("users/ana", std::string("[Config]\r\nAulaAtual=") + c.stored + "\r\n");
        EXPECT_EQ(ReadStudentRow(f.path() / "users" / "ana").Cells[4].Text, c.shown) << c.stored;
    }
}

TEST(History, LinesAppendedAndReadBack) {
    TestFolder f;
    TExerciseState s = FinishedExercise(10, 0, 40, 2, 50.0004);
    const auto first = HistoryEntryOf(s, 3, "2026-12-09T14:05:31-03:00");
    EXPECT_EQ(HistoryLine(first), "2026-12-09T14:05:31-03:00;3;10;0;40;2;50;95;1;0;");
    s.FinalElapsed = 60.5 / 86400.0; // shows as 00:01:00 and fails
    const auto second = HistoryEntryOf(s, 3, "2026-12-09T14:09:02-03:00");
    EXPECT_EQ(HistoryLine(second), "2026-12-09T14:09:02-03:00;3;10;0;40;2;60;95;0;0;");

    const fs::path file = HistoryFileIn(f.path(), "ana");
    EXPECT_EQ(file, f.path() / "historico" / "ana.csv");
    EXPECT_TRUE(AppendHistoryEntry(file, first));
    EXPECT_TRUE(AppendHistoryEntry(file, second));
    EXPECT_EQ(f.read("historico/ana.csv"), std::string(kHistoryHeader) + "\r\n" + HistoryLine(first) +
                                               "\r\n" + HistoryLine(second) + "\r\n");
    const THistory h = ReadHistoryFile(file);
    ASSERT_EQ(h.Entries.size(), 2u);
    EXPECT_EQ(h.Entries[1].Seconds, 60);
    EXPECT_FALSE(h.Entries[1].Passed);
    EXPECT_NEAR(h.Entries[0].KeysPerMinute(), 50.4, 1e-9);

    // A last line cut short stays apart from the next one; lines that are not entries are counted.
    f.write("historico/bia.csv", "data_hora;aula;palavras_certas;palavras_erradas;teclas_certas;"
                                 "teclas_erradas;segundos;acerto;aprovada;reforco;teclas;novo\r\n"
                                 "2026-12-01T10:00:00-03:00;1;5;0;20;0;30;100;1;0;;7\r\nlixo;;\r\n"
                                 "2026-12-01T10:00:00-03:00;0;5;0;20;0;30;100;1\r\n"
                                 "2026-12-01T10:05:00-03:00;30;5;0;20;0;30;100;1\r\n"
                                 "2026-12-01T10:06:00-03:00;2;0;0;0;0;999999999999999999;100;1\r\n"
                                 "2026-12-01T10:07:00-03:00;2;0;0;0;0;1000000000;100;1\r\n2026-12-01T10:0");
    EXPECT_TRUE(AppendHistoryEntry(HistoryFileIn(f.path(), "bia"), first));
    const THistory b = ReadHistoryFile(HistoryFileIn(f.path(), "bia"));
    // A later version's header and extra field are taken; lesson 0 and 30 are no lessons; a field
    // above a billion (an 18-digit time made the page's time negative) makes a bad line.
    EXPECT_EQ(b.Entries.size(), 3u);
    EXPECT_EQ(b.BadLines, 5);
    EXPECT_EQ(b.Sums[2].Seconds, kHistoryFieldMax);
    THistorySum nearTheTop{1, 0, 0, std::numeric_limits<std::int64_t>::max() - 1};
    nearTheTop.Add(b.Sums[2]);
    EXPECT_EQ(nearTheTop.Seconds, std::numeric_limits<std::int64_t>::max()); // held, never negative
    // Kept: the last entries only, every one counted and summed.
    const THistory last = ReadHistoryFile(HistoryFileIn(f.path(), "bia"), 1);
    ASSERT_EQ(last.Entries.size(), 1u);
    EXPECT_EQ(last.Entries[0].When, first.When);
    EXPECT_EQ(last.Total, 3);
    EXPECT_EQ(last.FirstWhen, "2026-12-01T10:00:00-03:00");
    EXPECT_EQ(last.Sums[1].KeysRight, 20);
    EXPECT_EQ(last.Sums[3].Seconds, 50);
    EXPECT_TRUE(ReadHistoryFile(HistoryFileIn(f.path(), "nobody")).Missing);
    // A last line ended by a bare CR (an editor's save) gets its LF: no line is lost.
    f.write("historico/cida.csv", std::string(kHistoryHeader) + "\r\n" + HistoryLine(second) + "\r");
    EXPECT_TRUE(AppendHistoryEntry(HistoryFileIn(f.path(), "cida"), first));
    const THistory c = ReadHistoryFile(HistoryFileIn(f.path(), "cida"));
    EXPECT_EQ(c.Entries.size(), 2u);
    EXPECT_EQ(c.BadLines, 0);
}

TEST(History, BothFormatsReadAndKeyDataRoundTrips) {
    const std::string head = "2026-12-01T10:00:00-03:00;4;5;1;20;3;30;86;0";
    struct Case {
        std::string line;
        bool read;
        bool reforco;
        std::size_t keys; // tallies read
    } cases[] = {
        {head, true, false, 0},         // the first format: no key data
        {head + ";0;", true, false, 0}, // the later one without key data
        {head + ";1;70:3:2:900:1:0:0:0:71:1 72:2:2:400", true, true, 2},
        {head + ";0;32:5:5:1100;futuro;9", true, false, 1},  // a later version's fields after
        {head + ";0;70:3:2:900", true, false, 0},            // 3 asked, 2 counted: no key data, entry kept
        {head + ";0;72:1:1 70:1:1", true, false, 0},         // out of order
        {head + ";0;70:1:0:0:0:0:0:0:71:1", true, false, 0}, // typed instead more often than swapped
        {head + ";0;0:1:1", true, false, 0},                 // no key
        {head + ";0;70:1:1:", true, false, 0},
        {head + ";0;70:10000001:10000001", true, false, 0}, // more than an exercise holds
        {head + ";2;", false, false, 0},                    // not a lesson nor a Reforço
        {head + ";", false, false, 0},
    };
    for (const Case& c : cases) {
        const auto e = ParseHistoryLine(c.line);
        ASSERT_EQ(e.has_value(), c.read) << c.line;
        if (!e)
            continue;
        EXPECT_EQ(e->KeysWrong, 3) << c.line;
        EXPECT_EQ(e->Reforco, c.reforco) << c.line;
        EXPECT_EQ(e->Keys.size(), c.keys) << c.line;
        const auto again = ParseHistoryLine(HistoryLine(*e));
        ASSERT_TRUE(again) << c.line;
        EXPECT_EQ(HistoryLine(*again), HistoryLine(*e));
    }
    const auto e = ParseHistoryLine(cases[2].line);
    EXPECT_EQ(HistoryLine(*e), cases[2].line);
    EXPECT_EQ(e->Keys[0].Swapped, 1);
    EXPECT_EQ(e->Keys[0].Instead, 71);
    EXPECT_EQ(e->Keys[1].RightMs, 400);

    // A Reforço is no exercise of its lesson; its keys count with every other exercise's.
    const THistory h =
        ParseHistory(std::string(kHistoryHeader) + "\r\n" + cases[0].line + "\r\n" + cases[2].line + "\r\n" +
                     head + ";0;70:2:1:300:1:0:0:0:72:1\r\n" + head + ";0;70:2:1:300:1:0:0:0:72:1\r\n");
    EXPECT_EQ(h.Total, 4);
    EXPECT_EQ(h.Sums[4].Exercises, 3);
    EXPECT_EQ(h.KeySums.Exercises, 3);
    ASSERT_EQ(h.KeySums.Keys.size(), 2u);
    const TKeyTally& f = h.KeySums.Keys[0];
    EXPECT_EQ(f.Asked, 7);
    EXPECT_EQ(f.Swapped, 3);
    EXPECT_EQ(f.RightMs, 1500);
    EXPECT_EQ(f.Instead, 72); // twice, against once for 71
    EXPECT_EQ(f.InsteadTimes, 2);
}

TEST(History, AFailedAppendLeavesTheFileAsItWas) {
    TestFolder f;
    const auto e = HistoryEntryOf(TExerciseState{}, 1, "2026-12-09T14:05:31+00:00");
    // Where the history folder should be there is a file: nothing can be written.
    f.write("historico", "x");
    EXPECT_FALSE(AppendHistoryEntry(HistoryFileIn(f.path(), "ana"), e));
    EXPECT_EQ(f.read("historico"), "x");
    // A history that is a folder cannot be read; it is never replaced.
    TestFolder g;
    fs::create_directories(g.path() / "historico" / "ana.csv");
    EXPECT_FALSE(AppendHistoryEntry(HistoryFileIn(g.path(), "ana"), e));
    EXPECT_TRUE(fs::is_directory(g.path() / "historico" / "ana.csv"));
    EXPECT_EQ(ReadHistoryFile(HistoryFileIn(g.path(), "ana")).Problem,
              "O histórico não pôde ser lido: é uma pasta, não um arquivo");
#ifndef _WIN32
    // A FIFO is never opened (that would wait for a writer); the reason is said in Portuguese.
    ASSERT_EQ(mkfifo((g.path() / "historico" / "bia.csv").c_str(), 0600), 0);
    EXPECT_EQ(ReadHistoryFile(HistoryFileIn(g.path(), "bia")).Problem,
              "O histórico não pôde ser lido: não é um arquivo comum");
#endif
}

#ifndef _WIN32 // the zone is set through POSIX TZ rules
TEST(History, LocalTimeWithItsOffset) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "<-03>3", 1);
    tzset();
    EXPECT_EQ(IsoLocalTime(0), "1969-12-31T21:00:00-03:00");
    EXPECT_EQ(IsoLocalTime(1796742331), "2026-12-08T12:05:31-03:00");
    setenv("TZ", "<+0530>-5:30", 1);
    tzset();
    EXPECT_EQ(IsoLocalTime(0), "1970-01-01T05:30:00+05:30");
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif

namespace {
// A history line of lesson `lesson` recorded at `when`: passed or not, taking `seconds`.
std::string historyLine(const char* when, int lesson, bool passed, int seconds = 60) {
    return std::string(when) + ";" + std::to_string(lesson) + ";10;0;40;2;" + std::to_string(seconds) +
           ";95;" + (passed ? "1" : "0");
}
TStudentActivity activityOf(const std::vector<std::string>& lines, const TReportPeriod& period = {}) {
    TStudentActivity a;
    for (const std::string& line : lines) {
        auto e = ParseHistoryLine(line);
        if (!e) { // "R" before a line: the same exercise, a Reforço practice
            e = ParseHistoryLine(line.substr(1));
            e->Reforco = true;
        }
        a.Add(*e, period);
    }
    return a;
}
} // namespace

TEST(ClassActivity, TheSituationIsTheFirstRuleThatApplies) {
    const TDay today = *ParseIsoDate("2026-12-09");
    // "MM-DD hh:mm" of 2026 in Brasília; F failed, P passed, R a Reforço practice passed.
    const auto at = [](const char* when) {
        return "2026-" + std::string(when, 5) + "T" + std::string(when + 6) + ":00-03:00";
    };
    const auto F = [&](const char* when, int lesson = 5) {
        return historyLine(at(when).c_str(), lesson, false);
    };
    const auto P = [&](const char* when) { return historyLine(at(when).c_str(), 5, true); };
    const auto R = [&](const char* when) { return "R" + P(when); };
    struct Case {
        const char* situation;
        bool missing;
        bool totals;
        std::vector<std::string> lines;
    } cases[] = {
        {"Sem exercícios", true, false, {}},
        {"Sem exercícios", false, false, {}}, // a history with its header only
        // Exercises from before the course kept a history: nothing says when, nothing says stopped.
        {"Em dia", true, true, {}},
        {"Parado há 14 dias", false, true, {P("11-25 18:00")}},
        {"Em dia", false, true, {P("11-26 09:00")}},
        // Stopped before stuck.
        {"Parado há 38 dias", false, true, {F("11-01 10:00"), F("11-01 10:05"), F("11-01 10:10")}},
        {"Aula 5: 3 tentativas sem passar",
         false,
         true,
         {F("12-08 10:00"), F("12-08 10:05"), F("12-09 10:10")}},
        {"Em dia", false, true, {F("12-08 10:00"), F("12-09 10:10")}},
        // A pass ends a run; failures after it start another.
        {"Em dia", false, true, {F("12-08 10:00"), F("12-08 10:01"), F("12-08 10:02"), P("12-08 10:03")}},
        {"Aula 5: 4 tentativas sem passar",
         false,
         true,
         {F("12-08 10:00"), F("12-08 10:01"), P("12-08 10:03"), F("12-08 10:04"), F("12-08 10:05"),
          F("12-08 10:06"), F("12-08 10:07")}},
        // Another lesson breaks the run, a Reforço practice does not, and is no exercise of the stop.
        {"Em dia", false, true, {F("12-08 10:00", 4), F("12-08 10:01"), F("12-08 10:02")}},
        {"Aula 5: 3 tentativas sem passar",
         false,
         true,
         {F("12-08 10:00"), F("12-08 10:01"), R("12-08 10:02"), F("12-08 10:03")}},
        {"Parado há 19 dias", false, true, {P("11-20 10:00"), R("12-09 10:00")}},
        {"Sem exercícios", false, false, {R("12-09 10:00")}},
        // A machine whose clock was ahead: an exercise "in the future" is no stop.
        {"Em dia", false, true, {historyLine("2027-03-01T10:00:00-03:00", 5, true)}},
    };
    for (const Case& c : cases) {
        const TSituation s = SituationOf(activityOf(c.lines), c.missing, c.totals, today);
        EXPECT_EQ(s.Text, c.situation) << (c.lines.empty() ? "" : c.lines.back());
    }
    // Sorted, the stuck come first (the most tries first), then the stopped (the longest first), then
    // those who never began, then the others.
    const auto key = [&](std::vector<std::string> lines, bool totals = true) {
        return SituationOf(activityOf(lines), false, totals, today).SortKey;
    };
    const std::vector<double> keys{
        key({F("12-09 10:00"), F("12-09 10:01"), F("12-09 10:02"), F("12-09 10:03")}),
        key({F("12-09 10:00"), F("12-09 10:01"), F("12-09 10:02")}),
        key({P("10-01 10:00")}),
        key({P("11-01 10:00")}),
        key({}, false),
        key({P("12-09 10:00")})};
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

TEST(ClassActivity, APeriodCountsTheDaysAtItsEdges) {
    const auto D = [](const char* iso) { return *ParseIsoDate(iso); };
    const std::vector<std::string> lines{
        historyLine("2026-11-30T23:59:59-03:00", 1, true, 60),
        historyLine("2026-12-01T00:03:00-03:00", 1, false, 300), // began before midnight: on the day it ended
        historyLine("2026-12-01T10:00:00+01:00", 2, true, 90),   // another zone: its own date
        historyLine("2026-12-07T23:59:59-03:00", 3, true, 30),
        historyLine("2026-12-08T00:00:30-03:00", 4, true, 45),
        historyLine("2026-12-08T01:00:00+05:00", 5, true, 20), // the 7th in Brasília, the 8th where written
        "R" + historyLine("2026-12-03T10:00:00-03:00", 6, true, 600), // a Reforço: no lesson exercise
    };
    struct Case {
        std::optional<TDay> from, to;
        std::int64_t exercises, seconds;
        int lessonsPassed;
    } cases[] = {
        {D("2026-12-01"), D("2026-12-07"), 3, 420, 2}, {D("2026-12-01"), D("2026-12-01"), 2, 390, 1},
        {D("2026-12-07"), D("2026-12-07"), 1, 30, 1},  {std::nullopt, D("2026-11-30"), 1, 60, 1},
        {D("2026-12-08"), std::nullopt, 2, 65, 2},     {D("2026-12-02"), D("2026-12-06"), 0, 0, 0},
        {D("2026-12-08"), D("2026-12-01"), 0, 0, 0}, // the ends swapped: an empty period
    };
    for (const Case& c : cases) {
        const TStudentActivity a = activityOf(lines, {c.from, c.to});
        EXPECT_EQ(a.PeriodExercises, c.exercises)
            << IsoDate(c.from.value_or(0)) << " " << IsoDate(c.to.value_or(0));
        EXPECT_EQ(a.PeriodSeconds, c.seconds) << IsoDate(c.from.value_or(0));
        EXPECT_EQ(a.PeriodLessonsPassed(), c.lessonsPassed) << IsoDate(c.from.value_or(0));
    }
    // The class table's cells: the date, the situation and the period's figures, minutes with a comma.
    TestFolder f;
    f.write("users/ana", "[Config]\r\nAulaAtual=4\r\nCharOK=240\r\nCharErr=12\r\nTempoTotal=00:09:05\r\n");
    std::string history = std::string(kHistoryHeader) + "\r\n";
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        history += lines[i] + "\r\n";
    f.write("historico/ana.csv", history);
    f.write("aulas/aula5.aul", "Cinco^\r\n^\r\nTecla:   116^\r\nTexto:   065^\r\nPalavras:    10^\r\n"
                               "Tempo:   00:02:30^\r\nMinimo:     96^\r\n");
    TClassView view;
    view.Period = {D("2026-12-01"), D("2026-12-07")};
    view.Today = D("2026-12-09");
    view.Lessons = ReadLessonFacts(f.path());
    const auto rows = ReadClass(f.path(), nullptr, &view);
    using V = std::vector<std::string>;
    // 252 keys in 9:05 by the history's sum; 95 % is below lesson 5's minimum of 96.
    EXPECT_EQ(texts(rows[0].Cells),
              (V{"ana", "Aluno", "Padrão Americano ou ABNT I", "0", "5", "0", "0", "240", "12", "95",
                 "00:09:05", "28", "Não", "2026-12-08", "Em dia", "0", "3", "7,0", "2"}));
    EXPECT_EQ(rows[0].Cells[kAccuracyColumn].Mark, TGoalMark::Below);
    EXPECT_EQ(rows[0].Cells[kAccuracyColumn].Note, "Abaixo do mínimo da aula atual (aula 5: 96%)");
    EXPECT_EQ(rows[0].Cells[10].Note, "Soma dos 6 exercícios do histórico");
    EXPECT_NE(ClassCsv(rows, true)
                  .find("Situação;Reforços;Exercícios no período;Minutos no período;Aulas aprovadas no "
                        "período\r\nana;"),
              std::string::npos);
}

TEST(ClassActivity, OnlyRealDatesAreDates) {
    for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026-1-01", "26-12-01", "2026-12-01x",
                            "2026/12/01", "", "abcd-ef-gh"})
        EXPECT_FALSE(ParseIsoDate(bad)) << bad;
    EXPECT_EQ(IsoDate(*ParseIsoDate("2024-02-29")), "2024-02-29");
    EXPECT_EQ(BrazilianDate(*ParseIsoDate("1999-12-31")), "31/12/1999");
    EXPECT_EQ(*ParseIsoDate("1970-01-02"), 1);
    EXPECT_FALSE(HistoryDay("2026-12-01 10:00:00"));
}

TEST(KeyReport, FiguresOfAGeneratedHistory) {
    TestFolder f;
    f.write("users/ana", "[Keyboard]\r\nLayout=1\r\n");
    f.write("users/bia", "[Keyboard]\r\nLayout=0\r\n");
    f.write("users/cida", "");
    // Ana: F typed as G three times and as D once, Ç forgotten, "-" swapped for "="; 30 exercises, the
    // slips in the last ten; space slower than the rest.
    std::string ana = std::string(kHistoryHeader) + "\r\n";
    const std::string head = "2026-12-01T10:00:00-03:00;16;5;1;20;3;30;86;0;0;";
    for (int i = 0; i < 27; ++i)
        ana += head + "32:4:4:2000 70:4:4:800 186:2:2:600\r\n";
    ana += head + "32:4:4:2000 70:4:2:400:2:0:0:0:71:2 186:2:1:300:0:1 189:1:0:0:1:0:0:0:187:1\r\n";
    ana += head + "32:4:4:2000 70:4:3:600:1:0:0:1:71:1 186:2:2:600\r\n";
    ana += head + "32:4:4:2000 70:4:3:600:1:0:0:0:68:1 186:2:2:600\r\n";
    f.write("historico/ana.csv", ana);
    f.write("historico/bia.csv", std::string(kHistoryHeader) + "\r\n" + head + "186:3:2:900:0:0:1\r\n");
    const THistory h = ReadHistoryFile(HistoryFileIn(f.path(), "ana"));

    const TKeyFigures whole = KeyFiguresOf(h.KeySums);
    EXPECT_EQ(whole.Exercises, 30);
    ASSERT_EQ(whole.MostMissed.size(), 3u);
    EXPECT_EQ(KeyName(whole.MostMissed[0].Key, 1), "F");
    EXPECT_EQ(
        KeyFiguresText(whole.MostMissed[0], 1),
        "F: 120 vezes, 4 erradas (3,3%): 4 trocadas (digitou G); 1 a mais; 200 ms em média antes de cada "
        "acerto");
    EXPECT_EQ(KeyFiguresText(whole.MostMissed[1], 1), "-: 1 vez, 1 errada (100%): 1 trocada (digitou =)");
    ASSERT_EQ(whole.Confusions.size(), 3u);
    EXPECT_EQ(ConfusionText(whole.Confusions[0], 1), "digitou G no lugar de F: 3 vezes");
    EXPECT_EQ(ConfusionText(whole.Confusions[1], 0), "digitou D no lugar de F: 1 vez");
    // Fingers: the left index (F) and the right pinky (Ç and -), the thumbs never wrong.
    EXPECT_EQ(whole.Fingers[static_cast<int>(Finger::LeftIndex)].Wrong, 4);
    EXPECT_EQ(whole.Fingers[static_cast<int>(Finger::RightPinky)].Asked, 61);
    EXPECT_EQ(whole.Fingers[static_cast<int>(Finger::RightPinky)].Wrong, 2);
    EXPECT_EQ(whole.Fingers[static_cast<int>(Finger::Thumb)].Asked, 120);
    ASSERT_EQ(whole.Slowest.size(), 3u); // "-" was never right
    EXPECT_EQ(KeyName(whole.Slowest[0].Key, 0), "Espaço");
    EXPECT_EQ(KeySlipsInShort(whole.MostMissed[2], 1),
              "1 vez, esquecida"); // as many slips, a lower rate: after

    const TKeyFigures last = KeyFiguresOf(LastExercisesKeySum(h, 10));
    EXPECT_EQ(last.Exercises, 10);
    EXPECT_EQ(last.Keys[1].Asked, 40);
    EXPECT_EQ(RatePercent(KeyErrorRate(last.Keys[1])), "10%");

    // For scripts: keys on each student's own layout, the formula guard, nothing for no history.
    std::vector<std::string> problems;
    const std::string csv = ClassKeysCsv(ReadClass(f.path()), &problems);
    EXPECT_EQ(csv, "Aluno;Tecla;Vezes;Certas;Trocadas;Esquecidas;Invertidas;A mais;No lugar\r\n"
                   "ana;Espaço;120;120;0;0;0;0;\r\n"
                   "ana;F;120;116;4;0;0;1;G\r\n"
                   "ana;Ç;60;59;0;1;0;0;\r\n"
                   "ana;'-;1;0;1;0;0;0;'=\r\n"
                   "bia;\";\";3;2;0;0;1;0;\r\n");
    EXPECT_TRUE(problems.empty());
}
