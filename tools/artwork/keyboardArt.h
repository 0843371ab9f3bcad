#pragma once
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <set>
#include <vector>

#include "core/lessons/lessonFile.h"
#include "core/platform/keyboard.h"

// The keyboard as the course draws it: every key in the colour of the finger that presses it, so that
// a lesson's keys can be shown in their finger's colour.
QColor FingerColour(Finger finger);

// Draws the keyboard into the box (its width is 15 key units, its height 5): keys whose code is in
// `lit` in their finger's colour (all keys when `lit` is empty and `allLit` is set), the others pale;
// keys in `fresh` outlined, the keys the lesson brings in.
void DrawKeyboard(QPainter& p, const QRectF& box, const std::set<int>& lit, const std::set<int>& fresh,
                  bool allLit = false);

// A key's legends on the American and the ABNT2 layouts (the same text where they agree) and its finger.
struct KeyLegends {
    QString american, abnt2;
    Finger finger;
};
KeyLegends LegendsOf(int code);

// The lesson picture (232 x 216, to sit unscaled in the exercise window's frame): the text to type,
// large, above the keyboard with the lesson's keys in their fingers' colours. The catalogue's picture
// (165 x 137) and the logo of the diploma.
QImage DrawLessonPicture(int number, const TLessonData& lesson, const std::vector<int>& news);
// A Reforço's picture, drawn as a lesson's: its phrase, the keyboard with the focus keys outlined.
QImage DrawReforcoPicture(const TLessonData& reforco, const std::vector<int>& focus);
QImage DrawCataloguePicture();
QImage DrawDiplomaLogo();

// The lessons that these pictures show, read from FOLDER/aulas (1 to 24, every one), a lesson missing
// there from INSTALLED/aulas when given (a data folder holds only the lessons a teacher changed); what
// each brings that no earlier lesson asked for: a key by its code, a symbol typed with Shift as 1000 +
// its key's code, capitals as Shift. Raises VtError naming a lesson file that is missing.
std::vector<TLessonData> ReadCourse(const QDir& folder, const QString& installed = {});
std::vector<int> NoveltiesOf(const std::vector<TLessonData>& course, int number);

// Draws FOLDER/images/aula<N>.jpg for the given lessons (all 24 when empty) from the course ReadCourse reads.
void DrawLessonPictures(const QDir& folder, const std::vector<int>& numbers = {},
                        const QString& installed = {});
// Every picture of the course: the lessons', images/default.jpg and logo_diploma.bmp.
void DrawCoursePictures(const QDir& out);
