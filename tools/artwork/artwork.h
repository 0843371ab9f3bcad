#pragma once
#include <QImage>
#include <QString>

// Each picture of the program, drawn in code.
QImage DrawSplash();

// Writes a picture as JPEG through libjpeg-turbo, the same library the program reads it with.
void SaveJpeg(const QImage& image, const QString& path);
