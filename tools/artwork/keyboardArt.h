#pragma once
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <set>
#include <vector>

// The keyboard as the course draws it: every key with the finger that presses it, so that a lesson's
// keys can be shown in their finger's colour.
enum class Finger {
    LeftPinky,
    LeftRing,
    LeftMiddle,
    LeftIndex,
    RightIndex,
    RightMiddle,
    RightRing,
    RightPinky,
    Thumb
};

QColor FingerColour(Finger finger);

// Draws the keyboard into the box (its width is 15 key units, its height 5): keys whose code is in
// `lit` in their finger's colour (all keys when `lit` is empty and `allLit` is set), the others pale;
// keys in `fresh` outlined, the keys the lesson brings in.
void DrawKeyboard(QPainter& p, const QRectF& box, const std::set<int>& lit, const std::set<int>& fresh,
                  bool allLit = false);

// The fingers that press the keys of these codes.
std::set<Finger> FingersOf(const std::set<int>& codes);

// The lesson picture (232 x 216, to sit unscaled in the exercise window's frame), the catalogue's
// picture (165 x 137) and the logo of the diploma.
QImage DrawLessonPicture(int number, const QString& title, const std::set<int>& codes,
                         const std::set<int>& fresh);
QImage DrawCataloguePicture();
QImage DrawDiplomaLogo();

// Reads the compiled lessons from OUTDIR/aulas and draws images/aula<N>.jpg, images/default.jpg and
// logo_diploma.bmp into OUTDIR.
void DrawCoursePictures(const QDir& out);
