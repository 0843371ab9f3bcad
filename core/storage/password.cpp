#include "core/storage/password.h"

#include "core/storage/convert.h"

#include <string_view>

std::string FormatDigits(const std::string& number, int fractionDigits, int wholeDigits) {
    std::string t;
    for (const char c : number)
        if (std::string_view("/\\-()xX ").find(c) == std::string_view::npos)
            t += c;
    auto sep = t.find('.');
    if (sep == std::string::npos)
        sep = t.find(',');
    std::string fraction = sep == std::string::npos ? "0" : t.substr(sep + 1);
    const std::string whole = sep == std::string::npos ? t : t.substr(0, sep);
    const auto f = static_cast<std::size_t>(fractionDigits < 0 ? 0 : fractionDigits);
    fraction.resize(f, '0');
    std::string joined = whole + fraction;
    const int total = wholeDigits + fractionDigits;
    if (total <= 0)
        return {};
    const auto width = static_cast<std::size_t>(total);
    if (joined.size() < width)
        joined.insert(0, width - joined.size(), '0');
    return joined.substr(0, width);
}

std::string EncodePassword(const std::string& password) {
    std::string digits;
    for (const char c : password)
        digits += FormatDigits(std::to_string(static_cast<unsigned char>(c)), 0, 3);
    std::string stored;
    stored.reserve(digits.size() * 2);
    for (std::size_t k = 0; k < digits.size(); ++k) {
        const unsigned i = static_cast<unsigned>(k + 1);
        const unsigned e = (static_cast<unsigned char>(digits[k]) + i) & 0xFF;
        stored += static_cast<char>((e - i + 6) & 0xFF);
        stored += static_cast<char>((e + i + 7) & 0xFF);
    }
    return stored;
}

std::string DecodePassword(const std::string& stored) {
    const std::size_t pairs = stored.size() / 2;
    std::string digits;
    digits.reserve(pairs);
    for (std::size_t j = 1; j <= pairs; ++j) {
        const unsigned a = (static_cast<unsigned char>(stored[2 * j - 2]) + j - 6) & 0xFF;
        digits += static_cast<char>((a - j) & 0xFF);
    }
    std::string password;
    for (std::size_t g = 0; g + 3 <= digits.size(); g += 3) {
        const auto value = TryStrToInt(digits.substr(g, 3));
        if (!value)
            return {};
        password += static_cast<char>(*value & 0xFF);
    }
    return password;
}
