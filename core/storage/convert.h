#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Conversions used all over the program, in one place. Texts passed in and out are Windows-1252
// bytes unless a name says UTF-8.

// "'%s' is not a valid integer value" and its kin: the offending text, Windows-1252, goes in place of %s.
[[noreturn]] void RaiseConvertError(const char* pattern, const std::string& cp1252Text);

// Whole numbers as the program parses them: leading blanks, an optional sign, decimal digits, or a
// hexadecimal number after "$" or "0x". Anything else (trailing blanks included) raises
// "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
std::optional<int> TryStrToInt(const std::string& text);
std::string IntToStr(long long value);

// Times of day as fractions of a day (1.0 = 24 hours). Parsing takes hh:mm or hh:mm:ss, hours 0 to 23,
// minutes and seconds 0 to 59, and raises "'%s' is not a valid time" for anything else.
double StrToTime(const std::string& text);
// hh:mm:ss of the part below one day, after rounding to the nearest millisecond.
std::string TimeToStr(double dayFraction);

// Windows-1252, the code page of every text the program stores.
std::string Cp1252ToUtf8(std::string_view cp1252);
// nullopt when a character has no Windows-1252 byte (or the UTF-8 is malformed).
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
// As above, with "?" for each character that has no byte.
std::string Utf8ToCp1252Lossy(std::string_view utf8);

// The code points of a UTF-8 text (nullopt when it is malformed), and one code point as UTF-8.
std::optional<std::u32string> Utf8CodePoints(std::string_view utf8);
std::string Utf8Of(char32_t codePoint);
// The text with each byte that is not part of well-formed UTF-8 replaced by U+FFFD.
std::string Utf8Repaired(std::string_view utf8);

// Lower case of the letters A to Z only; every other byte stays as it is.
std::string AsciiLower(std::string text);

// The lines of a text ended by LF or CR LF; the end of the last line is not a line of its own.
std::vector<std::string> TextLines(std::string_view text);
