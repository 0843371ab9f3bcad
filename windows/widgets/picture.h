#pragma once
#include <QImage>
#include <QSize>
#include <QString>

// Pictures from files: JPEG through libjpeg-turbo (the decoder's own message when it fails), BMP
// through the toolkit. Raises "Cannot open file ..." for a file that cannot be read.
// `shownIn`, the box the picture is shown in: a JPEG is decoded at about that size, and one far
// larger than it is refused (see DecodeJpegBytes); empty, the picture's own size.
QImage LoadPictureFile(const QString& path, QSize shownIn = QSize());
