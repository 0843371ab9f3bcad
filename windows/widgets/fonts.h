#pragma once
#include <QFont>
#include <QStringList>

// Maps the font names the windows were designed with to look-alikes that this system has
// ("Comic Sans MS", "MS Sans Serif", "Terminal", "Courier New", "Arial", "Signature", "Typewriter").
void InstallFontSubstitutes();

// The look-alikes come out wider than the designed faces: the font made smaller, a pixel at a time
// down to `smallest`, until every text fits `width`. A bitmap face that has no such size gives way to
// an outline face of the same family class. The smallest tried when none fits.
QFont FittedFont(const QFont& font, const QStringList& texts, int width, int smallest = 8);

// The same for a block of lines in a box: every line as wide as `room` at most, and all of them as
// tall; the font is left as it is when it already fits.
QFont FittedLinesFont(const QFont& font, const QStringList& lines, const QSize& room, int smallest = 6);
