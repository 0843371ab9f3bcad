#include "artwork.h"

#include "core/platform/jpeg.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"

#include <cstring>

void SaveJpeg(const QImage& image, const QString& path) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    RawPicture raw;
    raw.width = rgb.width();
    raw.height = rgb.height();
    raw.pixels.resize(static_cast<std::size_t>(raw.width) * raw.height * 4);
    for (int y = 0; y < raw.height; ++y)
        std::memcpy(raw.pixels.data() + static_cast<std::size_t>(y) * raw.width * 4, rgb.constScanLine(y),
                    static_cast<std::size_t>(raw.width) * 4);
    EncodeJpegFile(raw, PathFromUtf8(path.toStdString()), 92);
}

void SaveBitmap(const QImage& image, const QString& path) {
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        throw VtError("Cannot write " + path.toStdString());
}
