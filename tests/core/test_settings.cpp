#include "core/platform/iniFile.h"
#include "testFolder.h"

#include <gtest/gtest.h>

TEST(Settings, EmptyNameIsTheProgramSettingsFile) {
    TestFolder f;
    SelectSettingsFile("");
    EXPECT_TRUE(WriteSetting("Config", "LastUser", "3"));
    EXPECT_EQ(f.read("velotecla.INI"), "[Config]\r\nLastUser=3\r\n");
    EXPECT_EQ(CurrentSettingsFile, f.file("velotecla.INI"));
}

TEST(Settings, ReadingAnAbsentOrEmptyKeyStoresTheDefault) {
    TestFolder f;
    SelectSettingsFile("aluno");
    EXPECT_EQ(ReadSetting("Config", "WordOK", "0"), "0");
    EXPECT_EQ(f.read("aluno"), "[Config]\r\nWordOK=0\r\n");
    // A key stored empty is replaced in its place.
    f.write("aluno", "[Config]\r\nWordOK=\r\nCharOK=5\r\n");
    EXPECT_EQ(ReadSetting("Config", "WordOK", "7"), "7");
    EXPECT_EQ(f.read("aluno"), "[Config]\r\nWordOK=7\r\nCharOK=5\r\n");
    // The empty default is stored as an empty value, and the next reader stores its own.
    EXPECT_EQ(ReadSetting("Definition", "Information", ""), "");
    EXPECT_EQ(ReadSetting("Definition", "Information", "quillmarrow"), "quillmarrow");
    EXPECT_EQ(f.read("aluno"),
              "[Config]\r\nWordOK=7\r\nCharOK=5\r\n[Definition]\r\nInformation=quillmarrow\r\n");
}

TEST(Settings, ReadingInAMissingFolderAnswersTheDefaultAndCreatesNothing) {
    TestFolder f;
    SelectSettingsFile("nowhere/aluno");
    EXPECT_EQ(ReadSetting("Config", "WordOK", "0"), "0");
    EXPECT_FALSE(ReadSettingFlag("Aula1", "Habilitado", false));
    EXPECT_FALSE(f.exists("nowhere"));
    EXPECT_FALSE(WriteSetting("Config", "WordOK", "1"));
}

TEST(Settings, FlagsAreFalseOnlyForZero) {
    TestFolder f;
    SelectSettingsFile("p");
    f.write("p", "[A]\r\ntwo=2\r\nzero=0\r\nzz=00\r\nsim=sim\r\n");
    EXPECT_TRUE(ReadSettingFlag("A", "two", false));
    EXPECT_FALSE(ReadSettingFlag("A", "zero", true));
    EXPECT_TRUE(ReadSettingFlag("A", "zz", false));
    EXPECT_TRUE(ReadSettingFlag("A", "sim", false));
    EXPECT_FALSE(ReadSettingFlag("Aula2", "Habilitado", false));
    EXPECT_TRUE(ReadSettingFlag("Aula3", "Habilitado", true));
    EXPECT_TRUE(WriteSettingFlag("Aula4", "Habilitado", true));
    EXPECT_EQ(f.read("p"), "[A]\r\ntwo=2\r\nzero=0\r\nzz=00\r\nsim=sim\r\n[Aula2]\r\nHabilitado=0\r\n"
                           "[Aula3]\r\nHabilitado=1\r\n[Aula4]\r\nHabilitado=1\r\n");
}

TEST(Settings, NamesMatchWithoutCaseAndBlanksAreTrimmedOnReading) {
    TestFolder f;
    SelectSettingsFile("p");
    f.write("p", "  [ config ]  \r\n  wordok  =  12  \r\nOther=x\r\n");
    EXPECT_EQ(ReadSetting("Config", "WordOK", "0"), "12");
    EXPECT_TRUE(WriteSetting("CONFIG", "WORDOK", "13"));
    // The key keeps its place and its neighbours stay byte for byte.
    EXPECT_EQ(f.read("p"), "  [ config ]  \r\nWORDOK=13\r\nOther=x\r\n");
}

TEST(Settings, WritesKeepEveryOtherLine) {
    TestFolder f;
    SelectSettingsFile("p");
    const std::string before =
        "; comment\r\n[Aula1]\r\nHabilitado=1\r\n\r\n[Definition]\r\nInformation=abc\r\n"
        "Control=0\r\n\r\n[Keyboard]\r\nLayout=1";
    f.write("p", before);
    EXPECT_TRUE(WriteSetting("Definition", "Extra", "v"));
    EXPECT_TRUE(WriteSetting("Keyboard", "Layout", "0"));
    EXPECT_TRUE(WriteSetting("Config", "WordOK", "1"));
    EXPECT_EQ(f.read("p"), "; comment\r\n[Aula1]\r\nHabilitado=1\r\n\r\n[Definition]\r\nInformation=abc\r\n"
                           "Control=0\r\nExtra=v\r\n\r\n[Keyboard]\r\nLayout=0\r\n[Config]\r\nWordOK=1\r\n");
}

TEST(Settings, ALastLineWithoutItsEndGetsOne) {
    TestFolder f;
    SelectSettingsFile("p");
    struct Case {
        const char *before, *section, *key, *after;
    } cases[] = {
        {"[Config]\r\nWordOK=1", "Config", "CharOK", "[Config]\r\nWordOK=1\r\nCharOK=v\r\n"},
        {"[Aula1]\r\nHabilitado=1", "Config", "CharOK",
         "[Aula1]\r\nHabilitado=1\r\n[Config]\r\nCharOK=v\r\n"},
        {"[Config]", "Config", "CharOK", "[Config]\r\nCharOK=v\r\n"},
        {"[Config]\r\nCharOK=1", "Config", "CharOK", "[Config]\r\nCharOK=v\r\n"}, // the line rewritten whole
    };
    for (const Case& c : cases) {
        f.write("p", c.before);
        EXPECT_TRUE(WriteSetting(c.section, c.key, "v"));
        EXPECT_EQ(f.read("p"), c.after) << c.before;
    }
}

TEST(Settings, OnlyTheFirstOfTwoSectionsOfOneNameCounts) {
    TestFolder f;
    SelectSettingsFile("p");
    f.write("p", "[Config]\r\nWordOK=1\r\n[Aula1]\r\nHabilitado=1\r\n[config]\r\nWordOK=2\r\nCharOK=3\r\n");
    EXPECT_EQ(ReadSetting("Config", "WordOK", "0"), "1");
    EXPECT_EQ(ReadSetting("Config", "CharOK", "9"), "9"); // stored in the first, the second is not read
    EXPECT_EQ(f.read("p"), "[Config]\r\nWordOK=1\r\nCharOK=9\r\n[Aula1]\r\nHabilitado=1\r\n[config]"
                           "\r\nWordOK=2\r\nCharOK=3\r\n");
}

TEST(Settings, ValuesAreBytesOfWindows1252) {
    TestFolder f;
    SelectSettingsFile("p");
    const std::string value = "Jo\xE3o \x80 \xC7";
    EXPECT_TRUE(WriteSetting("S", "K", value));
    EXPECT_EQ(ReadSetting("S", "K", ""), value);
    EXPECT_EQ(f.read("p"), "[S]\r\nK=" + value + "\r\n");
}

TEST(Settings, UnsafeValuesAreRefusedAndChangeNothing) {
    TestFolder f;
    SelectSettingsFile("p");
    f.write("p", "[S]\r\nK=old\r\n");
    EXPECT_FALSE(WriteSetting("S", "K", "two\r\nlines"));
    EXPECT_FALSE(WriteSetting("S", "a=b", "x"));
    EXPECT_FALSE(WriteSetting("S]", "K", "x"));
    EXPECT_EQ(f.read("p"), "[S]\r\nK=old\r\n");
}

TEST(Settings, SelectionRuleKeepsAbsolutePathsAndAnchorsRelativeOnes) {
    TestFolder f;
    SelectSettingsFile("users/Ana");
    EXPECT_EQ(CurrentSettingsFile, (f.path() / "users/Ana").string());
    const std::string absolute = (f.path() / "abs.ini").string();
    SelectSettingsFile(absolute);
    EXPECT_EQ(CurrentSettingsFile, absolute);
    // A read or write without a selection of its own goes to the program settings file.
    CurrentSettingsFile.clear();
    EXPECT_TRUE(WriteSetting("Config", "LastUser", "0"));
    EXPECT_TRUE(f.exists("velotecla.INI"));
}

TEST(Settings, AFolderOrAnInvalidNameIsNotWrittenOver) {
    TestFolder f;
    std::filesystem::create_directory(f.path() / "dir");
    SelectSettingsFile("dir");
    EXPECT_FALSE(WriteSetting("S", "K", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(f.path() / "dir"));
    SelectSettingsFile("");
    EXPECT_FALSE(IniWriteValue(f.path() / "", "S", "K", "v"));
}

TEST(Settings, NoTemporaryFileIsLeftBehind) {
    TestFolder f;
    SelectSettingsFile("p");
    for (int i = 0; i < 20; ++i)
        WriteSetting("S", "K" + std::to_string(i), std::to_string(i));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(f.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

#ifndef _WIN32
#include <sys/stat.h>

// Settings files as other programs and accidents leave them.
TEST(SettingsFileFaults, AByteOrderMarkIsIgnoredOnReadingAndKeptOnWriting) {
    TestFolder f;
    f.write("velotecla.INI", "\xEF\xBB\xBF[Config]\r\nLastUser=4\r\n");
    SelectSettingsFile("");
    EXPECT_EQ(ReadSetting("Config", "LastUser", "0"), "4");
    EXPECT_TRUE(WriteSetting("Config", "LastUser", "5"));
    EXPECT_EQ(f.read("velotecla.INI"), "\xEF\xBB\xBF[Config]\r\nLastUser=5\r\n");
}

TEST(SettingsFileFaults, AReadOnlyFileIsNotReplacedAndEveryFileKeepsItsMode) {
    TestFolder f;
    const std::string before = "[Config]\r\nLastUser=1\r\n";
    f.write("velotecla.INI", before);
    ASSERT_EQ(chmod(f.file("velotecla.INI").c_str(), 0444), 0);
    SelectSettingsFile("");
    EXPECT_FALSE(WriteSetting("Config", "LastUser", "2")); // even for the superuser
    EXPECT_EQ(f.read("velotecla.INI"), before);
    struct stat st {};
    ASSERT_EQ(stat(f.file("velotecla.INI").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);

    f.write("p", before);
    ASSERT_EQ(chmod(f.file("p").c_str(), 0640), 0);
    SelectSettingsFile("p");
    EXPECT_TRUE(WriteSetting("Config", "LastUser", "2"));
    ASSERT_EQ(stat(f.file("p").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SettingsFileFaults, AFifoOrDeviceIsNoSettingsFileAndNeverHangsTheReader) {
    TestFolder f;
    ASSERT_EQ(mkfifo(f.file("p").c_str(), 0644), 0);
    EXPECT_TRUE(EndsInTime([&] {
        SelectSettingsFile("p");
        if (ReadSetting("Config", "LastUser", "0") != "0" || WriteSetting("Config", "LastUser", "1"))
            _exit(1);
    }));
}
#endif
