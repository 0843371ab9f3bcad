#include "widgets/picture.h"

#include "platform/atomicFile.h"
#ifndef _WIN32
#include "platform/jpeg.h"
#endif
#include "platform/vtError.h"
#include "widgets/qtText.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>

QImage LoadPictureFile(const QString& path) {
    const auto file = ToPath(path);
    int error = 0;
    const auto bytes = ReadWholeFile(file, &error, kPictureFileCap);
    if (!bytes)
        throw VtError("Cannot open file \"" + path.toStdString() + "\". " + SystemErrorText(error));
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
#ifndef _WIN32
    // libjpeg-turbo directly: a picture that cannot be decoded fails with the decoder's own words.
    // Windows builds go without it and read JPEG through the toolkit below.
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        RawPicture raw = DecodeJpegBytes(*bytes);
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
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, suffix == QLatin1String("bmp") ? QByteArray("bmp") : QByteArray());
    QImage image = reader.read();
    if (image.isNull())
        throw VtError("Bitmap image is not valid");
    return image;
}
