// A lock or mark file (users/.<nome>.trava, users/.<nome>.sessao) as another machine, or anyone in
// the group, may leave it: reading who holds it never fails, and the machine it names is one line.
#include "core/platform/lockFile.h"
#include "scratch.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto owner = ReadLockOwner(
        WriteScratch("users/.ana.trava", std::string(reinterpret_cast<const char*>(data), size)));
    if (owner)
        FUZZ_CHECK(owner->Machine.find('\n') == std::string::npos);
    return 0;
}
