// JPEG pictures of any content: decoded or refused with the decoder's message, never a crash, and
// never an allocation the picture's size does not justify.
#include "core/platform/jpeg.h"
#include "core/platform/vtError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        // A smaller limit than the program's keeps each run quick.
        const RawPicture picture =
            DecodeJpegBytes(std::string(reinterpret_cast<const char*>(data), size), 4 * 1024 * 1024);
        if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height * 4)
            std::abort();
    } catch (const VtError&) {
    }
    return 0;
}
