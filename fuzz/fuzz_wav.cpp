// The check a sound file passes before it is played: any bytes, no fault.
#include "core/platform/sound.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)IsPlayableWav(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
