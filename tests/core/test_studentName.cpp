#include "core/platform/pathText.h"
#include "core/storage/studentName.h"
#include "testFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

TEST(StudentName, AcceptsOrdinaryNamesOfThePortugueseAlphabet) {
    for (const char* name : {"Ana", "João da Silva", "Ângela Müller", "notes.txt", " Zé", "O'Neil (2ª turma)",
                             "Ÿvonne €", "con2", "console", "lpt0", "a.b"})
        EXPECT_EQ(StudentNameProblem(name), "") << name;
    EXPECT_EQ(StudentNameProblem(std::string(kMaxStudentNameLength, 'a')), "");
}

TEST(StudentName, RefusesWhatCannotBeAFileNameWithAMessageThatSaysWhy) {
    struct Case {
        std::string name;
        std::string wanted; // a piece of the message
    };
    const Case cases[] = {
        {"", "Digite o nome"},
        {".", "\".\" não pode ser usado"},
        {"..", "\"..\" não pode ser usado"},
        {"../velotecla.INI", "caractere \"/\""},
        {"a\\b", "caractere \"\\\""},
        {"C:Ana", "caractere \":\""},
        {"An*", "caractere \"*\""},
        {"An?", "caractere \"?\""},
        {"\"Ana\"", "caractere \"\"\""},
        {"<Ana>", "caractere \"<\""},
        {"Ana|Bia", "caractere \"|\""},
        {"Ana\tBia", "caracteres de controle"},
        {"Ana\nBia", "caracteres de controle"},
        {"Ana\x7f", "caracteres de controle"},
        {"Ana\xc2\x85", "caracteres de controle"}, // U+0085, a C1 control
        {"Ana ", "terminar com espaço ou ponto"},
        {"Ana.", "terminar com espaço ou ponto"},
        {"   ", "terminar com espaço ou ponto"},
        {".Ana", "começar com ponto"},
        {"Łukasz", "caractere \"Ł\", que o programa não pode gravar"},
        {"Ana \xf0\x9f\x98\x80", "que o programa não pode gravar"}, // an emoji
        {"CON", "reservado pelo sistema"},
        {"nul.txt", "reservado pelo sistema"},
        {"Com1", "reservado pelo sistema"},
        {"LPT9.dat", "reservado pelo sistema"},
        {std::string(kMaxStudentNameLength + 1, 'a'), "no máximo 100 caracteres"},
        {"Ana\xff", "não é um texto válido"}, // malformed UTF-8
    };
    for (const Case& c : cases) {
        const std::string problem = StudentNameProblem(c.name);
        EXPECT_NE(problem.find(c.wanted), std::string::npos)
            << "name [" << c.name << "] gave [" << problem << "]";
    }
}

TEST(StudentName, PasswordsMustBeStorableAndTypeableInTheAccessDialog) {
    EXPECT_EQ(PasswordProblem(""), "");
    EXPECT_EQ(PasswordProblem("çÇãõ€12345"), ""); // ten Windows-1252 characters
    EXPECT_NE(PasswordProblem("12345678901").find("no máximo 10 caracteres"), std::string::npos);
    EXPECT_NE(PasswordProblem("senhał").find("caractere \"ł\""), std::string::npos);
}

TEST(StudentName, FoldingMakesEveryWindows1252LetterCaseless) {
    EXPECT_EQ(FoldStudentName("ANA"), "ana");
    // À-Þ and the four letters of 0x80-0x9F with a small partner; × and ÷ are no letters.
    EXPECT_EQ(FoldStudentName("\xC0\xC7\xC3\xD5\xDE\x8A\x8C\x8E\x9F"),
              "\xE0\xE7\xE3\xF5\xFE\x9A\x9C\x9E\xFF");
    EXPECT_EQ(FoldStudentName("\xD7\xF7\xDF"), "\xD7\xF7\xDF");
    EXPECT_EQ(FoldStudentName("a1 _-"), "a1 _-");
}

class StudentFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("vt-names-" + std::to_string(rd()));
        fs::create_directories(m_dir / "users");
    }
    void TearDown() override { fs::remove_all(m_dir); }
    void make(const std::string& utf8Name) {
        std::ofstream(users() / PathFromUtf8(utf8Name), std::ios::binary) << "[Definition]\r\n";
    }
    fs::path users() const { return m_dir / "users"; }
    std::string read(const std::string& utf8Name) const {
        std::ifstream in(users() / PathFromUtf8(utf8Name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    fs::path m_dir;
};

TEST_F(StudentFiles, FindsTheProfileWhateverTheLetterCaseTyped) {
    make("João");
    ASSERT_TRUE(FindStudentFile(users(), "João"));
    EXPECT_EQ(PathToUtf8(FindStudentFile(users(), "JOÃO")->filename()), "João");
    EXPECT_EQ(PathToUtf8(FindStudentFile(users(), "joão")->filename()), "João");
    EXPECT_FALSE(FindStudentFile(users(), "Joao"));
    EXPECT_FALSE(FindStudentFile(users(), "Maria"));
    EXPECT_EQ(StudentFilesNamed(users(), "JOÃO").size(), 1u);
}

TEST_F(StudentFiles, TwoFilesDifferingInCaseAreFoundOnlyByTheirExactNames) {
    make("Ana");
    make("ANA");
#ifdef _WIN32
    // Windows names are case-insensitive: the second make opened the first file, whose name stays.
    EXPECT_EQ(PathToUtf8(FindStudentFile(users(), "ANA")->filename()), "Ana");
    EXPECT_EQ(PathToUtf8(FindStudentFile(users(), "ana")->filename()), "Ana");
    EXPECT_EQ(StudentFilesNamed(users(), "ana").size(), 1u);
#else
    EXPECT_EQ(PathToUtf8(FindStudentFile(users(), "Ana")->filename()), "Ana");
    EXPECT_EQ(PathToUtf8(FindStudentFile(users(), "ANA")->filename()), "ANA");
    EXPECT_FALSE(FindStudentFile(users(), "ana"));
    EXPECT_EQ(StudentFilesNamed(users(), "ana").size(), 2u);
#endif
}

// A new profile is made whole only while no profile of the name exists in any letter case or way of
// writing its accents; saves at the same moment never make two profiles nor replace one ("Ana" and
// "ana" saved at once made two, 100 times in 100; the same name twice replaced the first).
TEST_F(StudentFiles, ANewProfileNeverDoublesNorReplacesAnother) {
    const std::vector<TSettingValue> values{{"Definition", "Control", "1"}};
    make("Ana");
    EXPECT_EQ(CreateStudentProfile(users(), "ana", values), TNewProfile::Exists);
    EXPECT_EQ(CreateStudentProfile(users(), "Ana", values), TNewProfile::Exists);
    EXPECT_EQ(read("Ana"), "[Definition]\r\n");
    ASSERT_EQ(CreateStudentProfile(users(), "Bia", values), TNewProfile::Made);
    EXPECT_EQ(read("Bia"), "[Definition]\r\nControl=1\r\n");
#ifndef _WIN32
    make("A\xCC\x81lvaro"); // "Álvaro" as a letter and a combining accent, as another system may write it
    EXPECT_EQ(CreateStudentProfile(users(), "\xC3\x81lvaro", values), TNewProfile::Exists);
    EXPECT_EQ(StudentFilesNamed(users(), "\xC3\xA1LVARO").size(), 1u);
    // Six processes saving the same name in six spellings at once, 40 times.
    const char* spellings[] = {"Cida", "cida", "CIDA", "cIda", "ciDa", "Cida"};
    int none = 0;
    for (int trial = 0; trial < 40; ++trial) {
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        std::vector<pid_t> children;
        for (const char* name : spellings) {
            const pid_t child = fork();
            if (child == 0) {
                char byte = 0;
                close(go[1]);
                (void)!::read(go[0], &byte, 1);
                _exit(CreateStudentProfile(users(), name, values) == TNewProfile::Made ? 1 : 0);
            }
            children.push_back(child);
        }
        close(go[0]);
        (void)!write(go[1], "gggggg", 6);
        close(go[1]);
        int made = 0;
        for (const pid_t child : children) {
            int status = 0;
            waitpid(child, &status, 0);
            made += WIFEXITED(status) ? WEXITSTATUS(status) : 0;
        }
        const auto profiles = StudentFilesNamed(users(), "cida");
        ASSERT_LE(profiles.size(), 1u) << "trial " << trial;
        ASSERT_EQ(static_cast<int>(profiles.size()), made) << "trial " << trial;
        none += profiles.empty() ? 1 : 0;
        for (const auto& p : profiles)
            fs::remove(p);
    }
    std::printf("saves at once that all gave way: %d of 40\n", none);
#endif
}

TEST_F(StudentFiles, FoldersAndUnusableNamesAreNeverProfiles) {
    fs::create_directory(users() / "Pasta");
    EXPECT_FALSE(FindStudentFile(users(), "Pasta"));
    // A file beside the users folder is out of reach of any name.
    std::ofstream(m_dir / "velotecla.INI") << "[Config]\r\n";
    EXPECT_FALSE(FindStudentFile(users(), "../velotecla.INI"));
    EXPECT_TRUE(StudentFilesNamed(users(), "..").empty());
    // A file put there by hand under a name the program would refuse is not found either.
    make("Ana.");
    EXPECT_FALSE(FindStudentFile(users(), "Ana."));
    EXPECT_FALSE(FindStudentFile(fs::path(m_dir / "missing"), "Ana"));
}

// Every file derived from a name must fit the file system's 255 bytes: "aula24_" + name + ".def",
// and the hidden temporary of that, which is longer still. 76 "€" are only 76 characters but 228 bytes.
TEST(StudentName, NamesAreLimitedInBytesSoThatEveryDerivedFileFits) {
    const auto euros = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += "\xE2\x82\xAC";
        return s;
    };
    EXPECT_EQ(StudentNameProblem(std::string(100, 'a')), "");
    EXPECT_NE(StudentNameProblem(std::string(101, 'a')), "");
    EXPECT_EQ(StudentNameProblem(euros(60)), "");
    EXPECT_EQ(StudentNameProblem(euros(76)),
              "O nome do aluno é longo demais para um nome de arquivo: use menos caracteres (os acentos e "
              "símbolos ocupam mais espaço).");
    EXPECT_NE(StudentNameProblem(euros(80)), "");
    // The longest name accepted really makes every file it names.
    std::string longest = euros(60);
    while (StudentNameProblem(longest + "\xC3\xA9").empty())
        longest += "\xC3\xA9";
    TestFolder folder;
    SelectSettingsFile(PathToUtf8(folder.path() / PathFromUtf8("aula24_" + longest + ".def")));
    EXPECT_TRUE(WriteSetting("Config", "WordOK", "1"));
}
