#include "windows/widgets/picture.h"

#include "core/platform/atomicFile.h"
#ifndef _WIN32
#include "core/platform/jpeg.h"
#endif
#include "core/platform/vtError.h"
#include "windows/widgets/qtText.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
std::uint32_t Little(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// The toolkit's bitmap reader fills the rows a cut-off file lacks with grey and reports nothing.
// A bitmap holds its pixels whole: the file must be as long as its header says the pixels are.
bool BitmapComplete(const std::string& b) {
    if (b.size() < 30 || b[0] != 'B' || b[1] != 'M')
        return true; // not a bitmap the check can read: the reader judges it
    const std::uint64_t pixelsAt = Little(b, 10, 4);
    const std::uint32_t header = Little(b, 14, 4);
    std::uint64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0, imageSize = 0;
    if (header == 12) { // the old OS/2 header
        width = Little(b, 18, 2);
        height = Little(b, 20, 2);
        bits = Little(b, 24, 2);
    } else if (b.size() >= 38) {
        width = static_cast<std::uint64_t>(
            std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(Little(b, 18, 4)))));
        height = static_cast<std::uint64_t>(
            std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(Little(b, 22, 4)))));
        bits = Little(b, 28, 2);
        compression = Little(b, 30, 4);
        imageSize = Little(b, 34, 4);
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    const std::uint64_t pixels = uncompressed ? (width * bits + 31) / 32 * 4 * height : imageSize;
    return pixelsAt + pixels <= b.size();
}
} // namespace

QImage LoadPictureFile(const QString& path, QSize shownIn) {
    const auto file = ToPath(path);
    // A link planted in the data folder is never followed: the error names it, in Portuguese, rather than
    // the system's "too many levels of symbolic links".
    if (std::string problem = DataPathProblem(file); !problem.empty())
        throw VtError(std::move(problem));
    int error = 0;
    const auto bytes = ReadWholeFile(file, &error, kPictureFileCap);
    if (!bytes)
        throw VtError("Cannot open file \"" + path.toStdString() + "\". " + SystemErrorText(error));
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
#ifndef _WIN32
    // libjpeg-turbo directly: a picture that cannot be decoded fails with the decoder's own words.
    // Windows builds go without it and read JPEG through the toolkit below.
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        RawPicture raw = DecodeJpegBytes(*bytes, kMaxPicturePixels, {shownIn.width(), shownIn.height()});
        QImage image(raw.width, raw.height, QImage::Format_RGB32);
        // The toolkit answers a picture it could not make room for with an empty one.
        if (image.isNull())
            throw VtError("Insufficient memory for a picture of " + std::to_string(raw.width) + " x " +
                          std::to_string(raw.height) + " pixels");
        for (int y = 0; y < raw.height; ++y)
            std::memcpy(image.scanLine(y), raw.pixels.data() + static_cast<std::size_t>(y) * raw.width * 4,
                        static_cast<std::size_t>(raw.width) * 4);
        return image;
    }
#endif
    if (suffix == QLatin1String("bmp") && !BitmapComplete(*bytes))
        throw VtError("Bitmap image is not valid");
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, suffix == QLatin1String("bmp") ? QByteArray("bmp") : QByteArray());
    QImage image = reader.read();
    if (image.isNull())
        throw VtError("Bitmap image is not valid");
    return image;
}
