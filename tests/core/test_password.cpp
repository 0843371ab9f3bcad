#include "core/storage/password.h"

#include <gtest/gtest.h>

TEST(Password, WorkedExample) {
    EXPECT_EQ(EncodePassword("abc"), "69?D=D6??J>K6E?P?R");
    EXPECT_EQ(DecodePassword("69?D=D6??J>K6E?P?R"), "abc");
}

TEST(Password, EmptyPasswordAndEmptyStoredForm) {
    EXPECT_EQ(EncodePassword(""), "");
    EXPECT_EQ(DecodePassword(""), "");
}

TEST(Password, EveryWindows1252PasswordRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    for (std::size_t n = 1; n <= 10; ++n) {
        for (std::size_t start = 0; start + n <= all.size(); start += 7) {
            const std::string p = all.substr(start, n);
            const std::string stored = EncodePassword(p);
            ASSERT_EQ(stored.size(), 6 * p.size());
            ASSERT_EQ(DecodePassword(stored), p);
        }
    }
    EXPECT_EQ(DecodePassword(EncodePassword(all)), all);
}

TEST(Password, OnlyTheFirstCharacterOfEachPairCounts) {
    std::string stored = EncodePassword("Senha1");
    for (std::size_t i = 1; i < stored.size(); i += 2)
        stored[i] = 'x';
    EXPECT_EQ(DecodePassword(stored), "Senha1");
    EXPECT_EQ(DecodePassword(EncodePassword("abc") + "Z"), "abc"); // an odd last character is ignored
}

TEST(Password, WordsAreNotStoredForms) {
    EXPECT_EQ(DecodePassword("quillmarrow"), "");
    EXPECT_EQ(DecodePassword("abcde"), "");
    EXPECT_EQ(DecodePassword("ab"), "");
}

TEST(Password, ShortPasswordsStayPrintableOnOneLine) {
    std::string p;
    for (int i = 0; i < 31; ++i)
        p += static_cast<char>(255 - i);
    for (const char c : EncodePassword(p)) {
        const auto b = static_cast<unsigned char>(c);
        EXPECT_GE(b, 54);
        EXPECT_LE(b, 250);
    }
}

TEST(FormatDigits, LaysNumbersOut) {
    EXPECT_EQ(FormatDigits("65", 0, 3), "065");
    EXPECT_EQ(FormatDigits("7", 0, 3), "007");
    EXPECT_EQ(FormatDigits("231", 0, 3), "231");
    EXPECT_EQ(FormatDigits("1234", 0, 3), "123");
    EXPECT_EQ(FormatDigits("(1-2)", 0, 3), "012");
    EXPECT_EQ(FormatDigits("3.5", 2, 2), "0350");
    EXPECT_EQ(FormatDigits("3,25", 1, 1), "32");
    EXPECT_EQ(FormatDigits("5", 0, 0), "");
}
