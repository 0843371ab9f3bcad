// velotecla.reg, the administrator marker's file where there is no registry, as anyone with the
// folder may leave it: reading it never fails but with the program's own error, and a value written
// reads back while every other value of the file stays as it read before.
#include "core/platform/registryStore.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "scratch.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {
std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string()
                                      : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}
std::string readOrError(const std::string& valuePath) {
    try {
        return ReadRegistryValue(valuePath);
    } catch (const VtError& e) {
        return std::string("error: ") + e.what();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    // Names and values as the program writes them: text, never a zero byte.
    const auto text = [&in] {
        std::string s = in.ConsumeRandomLengthString(64);
        std::erase(s, '\0');
        return s;
    };
    const std::string other = text();
    const std::string value = text();
    WriteScratch(registry_store::StoreFileName(), in.ConsumeRemainingBytesAsString());
    const std::string marker = std::string(keys::MarkerKeyPath) + "\\" + keys::MarkerValueName;
    const std::string otherPath = std::string(keys::MarkerKeyPath) + "\\" + other;
    (void)readOrError(marker);
    const std::string otherBefore = readOrError(otherPath);
    try {
        WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, value);
    } catch (const VtError&) {
        return 0; // refused (a line break in the value): the file is as it was
    }
    FUZZ_CHECK(readOrError(marker) == trimmed(value));
    // Value names match without regard to case or blanks around them.
    if (!trimmed(other).empty() && AsciiLower(trimmed(other)) != AsciiLower(keys::MarkerValueName))
        FUZZ_CHECK(readOrError(otherPath) == otherBefore);
    return 0;
}
