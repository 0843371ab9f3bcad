#pragma once
#include <QImage>
#include <QString>

// Pictures from files: JPEG through libjpeg-turbo (the decoder's own message when it fails), BMP
// through the toolkit. Raises "Cannot open file ..." for a file that cannot be read.
QImage LoadPictureFile(const QString& path);
