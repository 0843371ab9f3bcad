// Settings files: any text (as another editor may leave it) is read without harm, and setting a key
// changes that key and no other, in memory and on disk.
#include "core/platform/atomicFile.h"
#include "core/platform/iniFile.h"
#include "core/storage/convert.h"
#include "scratch.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {
// The program's section and key names are plain words; its values never hold a line break.
std::string name(FuzzedDataProvider& in) {
    std::string s = in.ConsumeRandomLengthString(12);
    std::string out;
    for (char c : s)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            out += c;
    return out.empty() ? "K" : out;
}

std::string value(FuzzedDataProvider& in) {
    std::string v = in.ConsumeRandomLengthString(40);
    std::string out;
    for (char c : v)
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t')
            out += c;
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = name(in);
    const std::string key = name(in);
    const std::string newValue = value(in);
    const std::string otherSection = name(in);
    const std::string otherKey = name(in);
    const std::string document = in.ConsumeRemainingBytesAsString();

    const auto other = IniGetValue(document, otherSection, otherKey);
    (void)IniGetValue(document, section, key);
    const std::string changed = IniSetValue(document, section, key, newValue);
    FUZZ_CHECK(IniGetValue(changed, section, key) == newValue);
    const bool same =
        AsciiLower(section) == AsciiLower(otherSection) && AsciiLower(key) == AsciiLower(otherKey);
    if (!same)
        FUZZ_CHECK(IniGetValue(changed, otherSection, otherKey) == other);
    // A byte-order mark stays where it was.
    FUZZ_CHECK(document.rfind("\xEF\xBB\xBF", 0) != 0 || changed.rfind("\xEF\xBB\xBF", 0) == 0);

    // The same through a file.
    const auto file = WriteScratch("velotecla.INI", document);
    FUZZ_CHECK(IniReadValue(file, otherSection, otherKey) == other);
    FUZZ_CHECK(IniWriteValue(file, section, key, newValue));
    FUZZ_CHECK(ReadWholeFile(file) == changed);
    return 0;
}
