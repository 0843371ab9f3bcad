#include "core/storage/convert.h"

#include "core/platform/vtError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

void RaiseConvertError(const char* pattern, const std::string& cp1252Text) {
    std::string text(pattern);
    const auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, Cp1252ToUtf8(cp1252Text));
    throw VtError(text);
}

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<int> TryStrToInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (hex) {
        // A hexadecimal number fills the 32 bits as they stand: $FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = ~bits + 1u;
        return static_cast<std::int32_t>(bits);
    }
    if (negative) {
        if (value > 2147483648ull)
            return std::nullopt;
        return static_cast<int>(-static_cast<long long>(value));
    }
    if (value > 2147483647ull)
        return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(const std::string& text) {
    const auto value = TryStrToInt(text);
    if (!value)
        RaiseConvertError("'%s' is not a valid integer value", text);
    return *value;
}

std::string IntToStr(long long value) {
    return std::to_string(value);
}

double StrToTime(const std::string& text) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    while (true) {
        int digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 2) {
            value = value * 10 + (text[i] - '0');
            ++digits;
            ++i;
        }
        if (digits == 0 || count == 3)
            RaiseConvertError("'%s' is not a valid time", text);
        parts[count++] = value;
        if (i < text.size() && text[i] == ':') {
            ++i;
            continue;
        }
        break;
    }
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i != text.size() || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        RaiseConvertError("'%s' is not a valid time", text);
    return (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / 86400.0;
}

std::string TimeToStr(double dayFraction) {
    // Milliseconds rounded half to even, as the toolkit the times were first written with did; only
    // the part below one day counts. The day's part is taken before the conversion to a whole number,
    // which no double past its range survives.
    if (!std::isfinite(dayFraction))
        dayFraction = 0.0;
    const double scaled = std::fmod(std::nearbyint(std::fmod(dayFraction, 1.0) * 86400000.0), 86400000.0);
    long long ms = static_cast<long long>(scaled);
    ms = std::llabs(ms) % 86400000LL;
    const long long seconds = ms / 1000;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return buffer;
}

namespace {

// 0x80 to 0x9F of Windows-1252; the five bytes it leaves undefined map to the C1 controls, as Windows
// itself converts them, so every byte survives a round trip.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int byteFor(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at s[i]; returns false on malformed input.
bool nextCodePoint(std::string_view s, std::size_t& i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (b0 < 0x80) {
        cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1F;
        extra = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0F;
        extra = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size() && extra > 0)
        return false;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Only the shortest form of a character, and no UTF-16 halves: "\xC0\xA0" is not a blank in
    // disguise, and every text has one spelling.
    static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    i += static_cast<std::size_t>(extra) + 1;
    return true;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (const char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? static_cast<char32_t>(kHigh[b - 0x80]) : char32_t{b});
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp))
            return std::nullopt;
        const int b = byteFor(cp);
        if (b < 0)
            return std::nullopt;
        out += static_cast<char>(b);
    }
    return out;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp)) {
            out += '?';
            ++i;
            continue;
        }
        const int b = byteFor(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

std::optional<std::u32string> Utf8CodePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp))
            return std::nullopt;
        out += cp;
    }
    return out;
}

std::string Utf8Repaired(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t cp = 0;
        if (nextCodePoint(utf8, i, cp)) {
            out.append(utf8.substr(start, i - start));
        } else {
            out += "\xEF\xBF\xBD";
            i = start + 1;
        }
    }
    return out;
}

std::string Utf8Of(char32_t codePoint) {
    std::string out;
    appendUtf8(out, codePoint);
    return out;
}

std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lf = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, lf - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        at = lf + 1;
    }
    return lines;
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}
