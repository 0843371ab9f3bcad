#pragma once
#include <QImage>
#include <QString>

// Each picture of the program, drawn in code.
QImage DrawSplash();
QImage DrawAboutLogo();
QImage DrawAboutPicture();

// Writes a picture as JPEG through libjpeg-turbo, the same library the program reads it with.
void SaveJpeg(const QImage& image, const QString& path);
// Writes a picture as a 24-bit BMP.
void SaveBitmap(const QImage& image, const QString& path);
