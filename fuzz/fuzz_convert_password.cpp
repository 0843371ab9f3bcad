// Conversions of numbers, times and texts, and the stored form of passwords: every parse agrees with
// its writer, and every round trip gives back what went in.
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/password.h"
#include "scratch.h"

#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(64);

    const std::optional<int> number = TryStrToInt(text);
    try {
        const int parsed = StrToInt(text);
        FUZZ_CHECK(number && parsed == *number);
    } catch (const VtError&) {
        FUZZ_CHECK(!number);
    }
    if (number)
        FUZZ_CHECK(TryStrToInt(IntToStr(*number)) == number);

    try {
        const double t = StrToTime(text);
        FUZZ_CHECK(t >= 0.0 && t < 1.0);
        FUZZ_CHECK(StrToTime(TimeToStr(t)) == t);
    } catch (const VtError&) {
    }
    // Any time, even one no clock gives, is written as a time that reads back.
    const double anyTime = in.ConsumeFloatingPoint<double>();
    const std::string shown = TimeToStr(anyTime);
    FUZZ_CHECK(shown.size() == 8);
    (void)StrToTime(shown);

    // Every Windows-1252 byte survives the way through UTF-8, and back.
    FUZZ_CHECK(Utf8ToCp1252(Cp1252ToUtf8(text)) == text);
    if (const auto cp = Utf8ToCp1252(text)) {
        FUZZ_CHECK(Cp1252ToUtf8(*cp) == text);
        FUZZ_CHECK(Utf8ToCp1252Lossy(text) == *cp);
    }
    if (const auto points = Utf8CodePoints(text)) {
        std::string again;
        for (const char32_t c : *points)
            again += Utf8Of(c);
        FUZZ_CHECK(again == text);
    }

    FUZZ_CHECK(DecodePassword(EncodePassword(text)) == text);
    (void)DecodePassword(in.ConsumeRemainingBytesAsString());
    (void)FormatDigits(text, static_cast<int>(text.size() % 7) - 1, static_cast<int>(text.size() % 5));
    return 0;
}
