// BMP pictures (the diploma's logo, a picture a teacher puts in images/) as they may be found: the
// picture loader answers a picture or the program's own error, and a picture it answers is whole.
#include "core/platform/vtError.h"
#include "scratch.h"
#include "windows/widgets/picture.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = WriteScratch("logo.bmp", std::string(reinterpret_cast<const char*>(data), size));
    try {
        const QImage picture = LoadPictureFile(QString::fromStdString(file.string()), QSize(320, 200));
        FUZZ_CHECK(!picture.isNull() && picture.width() > 0 && picture.height() > 0);
    } catch (const VtError&) {
    }
    return 0;
}
