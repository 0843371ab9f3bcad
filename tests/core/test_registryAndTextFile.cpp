#include "core/platform/vtError.h"
#include "core/storage/registry.h"
#include "core/storage/textFile.h"
#include "testFolder.h"

#include <gtest/gtest.h>

TEST(Registry, PresentAndAbsentValues) {
    TestFolder f;
    EXPECT_EQ(ReadRegistryValue(keys::MarkerValuePath), "");
    WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
    EXPECT_EQ(ReadRegistryValue(keys::MarkerValuePath), "plomek47");
    // An empty value reads exactly as a missing one.
    WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, "");
    EXPECT_EQ(ReadRegistryValue(keys::MarkerValuePath), "");
    EXPECT_EQ(ReadRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Nothing\\Here"), "");
}

TEST(Registry, RootNamesSelectKeysExactly) {
    TestFolder f;
    WriteRegistryValue("HKEY_CURRENT_USER", "Direct", "1");
    EXPECT_EQ(ReadRegistryValue("HKEY_CURRENT_USER\\Direct"), "1");
    // A root name in small letters is not a root name: it selects HKEY_CURRENT_USER.
    WriteRegistryValue("hkey_local_machine\\Soft", "V", "x");
    EXPECT_EQ(ReadRegistryValue("HKEY_CURRENT_USER\\Soft\\V"), "x");
    EXPECT_EQ(ReadRegistryValue("HKEY_LOCAL_MACHINE\\Soft\\V"), "");
}

TEST(Registry, AFailedWriteRaisesTheValueName) {
    TestFolder f;
#ifdef _WIN32
    // The real registry refuses a key name longer than 255 characters.
    const std::string keyPath = std::string(keys::MarkerKeyPath) + "\\" + std::string(300, 'k');
#else
    std::filesystem::create_directory(f.path() / "velotecla.reg"); // the store cannot be written
    const std::string keyPath = keys::MarkerKeyPath;
#endif
    try {
        WriteRegistryValue(keyPath, keys::MarkerValueName, keys::MarkerText);
        ADD_FAILURE();
    } catch (const VtError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'ColorControl'");
    }
    EXPECT_EQ(ReadRegistryValue(keys::MarkerValuePath), "");
}

TEST(TextFile, ReadsCharactersUpToCtrlZ) {
    TestFolder f;
    f.write("t.txt", std::string("ab^\r\ncd\x1A"
                                 "ef"));
    OpenTextFile(f.file("t.txt"), false);
    EXPECT_FALSE(TextFileAtEnd());
    EXPECT_EQ(ReadTextChars(3), "ab^");
    EXPECT_EQ(ReadTextChars(4), "\r\ncd");
    EXPECT_TRUE(TextFileAtEnd());
    EXPECT_EQ(ReadTextChars(2), "\x1A\x1A");
    EXPECT_TRUE(TextFileAtEnd());
    EXPECT_EQ(ReadTextChars(0), "");
    CloseTextFile();
}

TEST(TextFile, AFileThatIsNotOpenFailsWithIOError104) {
    TestFolder f;
    std::vector<std::string> shown;
    SetTextFileMessageSink([&](const std::string& text) { shown.push_back(text); });
    OpenTextFile(f.file("aulas/aula1.aul"), false);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(ReadTextChars(2), "");
    try {
        TextFileAtEnd();
        ADD_FAILURE();
    } catch (const VtError& e) {
        EXPECT_STREQ(e.what(), "I/O error 104");
    }
    OpenTextFile(f.file("missing"), true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Ocorreu erro ao abrir, acessar o arquivo ou a porta.\rInfo: " + f.file("missing"));
    SetTextFileMessageSink({});
}

TEST(TextFile, DeleteDataFile) {
    TestFolder f;
    f.write("users/ana", "x");
    EXPECT_TRUE(DeleteDataFile(f.file("users/ana")));
    EXPECT_FALSE(f.exists("users/ana"));
    EXPECT_FALSE(DeleteDataFile(f.file("users/ana")));
    EXPECT_FALSE(DeleteDataFile(f.file("users"))); // never a folder
}
