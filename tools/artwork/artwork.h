#pragma once
#include <QImage>
#include <QString>

// Each picture of the program, drawn in code.
QImage DrawSplash();
QImage DrawAboutLogo();
QImage DrawAboutPicture();
// The application's icon for menus and software centres: the About box's keycap on a transparent
// ground, drawn afresh for each size so that small icons stay sharp.
QImage DrawAppIcon(int size);

// Writes a picture as JPEG through libjpeg-turbo, the same library the program reads it with.
void SaveJpeg(const QImage& image, const QString& path);
// Writes a picture as a 24-bit BMP.
void SaveBitmap(const QImage& image, const QString& path);
