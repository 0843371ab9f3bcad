#include "core/platform/vtError.h"
#include "core/storage/convert.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(StrToInt, AcceptsWhatTheProgramWrites) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("   12"), 12);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, RefusesEverythingElseWithTheExactText) {
    for (const char* bad : {"", " ", "abc", "12 ", "1.5", "--1", "$", "0x", "2147483648", "1e3", "12a",
                            "-2147483649", "4294967296", "$100000000", "18446744073709551617"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const VtError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
    // The offending text is shown as the user would read it, accented letters included.
    try {
        StrToInt("n\xE3o");
        ADD_FAILURE();
    } catch (const VtError& e) {
        EXPECT_EQ(std::string(e.what()), "'não' is not a valid integer value");
    }
}

TEST(Time, ParsesHoursMinutesAndOptionalSeconds) {
    EXPECT_DOUBLE_EQ(StrToTime("00:00:00"), 0.0);
    EXPECT_DOUBLE_EQ(StrToTime("00:01:00"), 60.0 / 86400.0);
    EXPECT_DOUBLE_EQ(StrToTime("12:30"), 0.5 + 30.0 / 1440.0);
    EXPECT_DOUBLE_EQ(StrToTime("23:59:59"), 86399.0 / 86400.0);
    EXPECT_DOUBLE_EQ(StrToTime("1:2:3"), 3723.0 / 86400.0);
    for (const char* bad : {"", "12", "24:00:00", "00:60:00", "00:00:60", "ab:cd", "00:00:00:00", "10:00x"}) {
        try {
            StrToTime(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const VtError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid time");
        }
    }
}

TEST(Time, WritesTheDayPartRoundedToTheMillisecond) {
    EXPECT_EQ(TimeToStr(0.0), "00:00:00");
    EXPECT_EQ(TimeToStr(60.5 / 86400.0), "00:01:00");
    EXPECT_EQ(TimeToStr(59.9996 / 86400.0), "00:01:00"); // rounds to 60.000 s first
    EXPECT_EQ(TimeToStr(59.9994 / 86400.0), "00:00:59");
    EXPECT_EQ(TimeToStr(StrToTime("23:59:30") + 45.0 / 86400.0), "00:00:15");
    EXPECT_EQ(TimeToStr(1.0), "00:00:00");
    EXPECT_EQ(TimeToStr(StrToTime("13:14:15")), "13:14:15");
    // Sums of many small parts keep whole seconds whole.
    double total = 0;
    for (int i = 0; i < 1000; ++i)
        total += StrToTime("00:00:50");
    EXPECT_EQ(TimeToStr(total), "13:53:20");
    // Found by fuzzing: a value past a whole number's range, or none at all, still gives a time.
    EXPECT_EQ(TimeToStr(1e300 + 0.5), "00:00:00");
    EXPECT_EQ(TimeToStr(12345.75), "18:00:00");
    EXPECT_EQ(TimeToStr(std::nan("")), "00:00:00");
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const auto back = Utf8ToCp1252(Cp1252ToUtf8(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\xC7\xE3"), "€Çã");
    EXPECT_EQ(*Utf8ToCp1252("Ação ‘ok’"), "A\xE7\xE3o \x91ok\x92");
}

TEST(Cp1252, CharactersWithoutAByteAreRefused) {
    EXPECT_FALSE(Utf8ToCp1252("日本").has_value());
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value()); // cut UTF-8
    // Found by fuzzing: a character in a longer form than its own ("\xC0\xA0", a blank), or half of a
    // UTF-16 pair, is malformed, not another spelling of a character.
    for (const char* malformed :
         {"\xC0\xA0", "\xE0\x80\xAF", "\xC1\x9E", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252(malformed).has_value()) << malformed;
        EXPECT_FALSE(Utf8CodePoints(malformed).has_value()) << malformed;
    }
    EXPECT_EQ(Utf8ToCp1252Lossy("a日b"), "a?b");
}

TEST(AsciiLower, ChangesOnlyAToZ) {
    EXPECT_EQ(AsciiLower("RoOT \xC9"), "root \xC9");
}
