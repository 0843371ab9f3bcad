#pragma once
#include <QStyle>

class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QString;
class QWidget;

// Controls are named as designed: that is how the program's tests and a screen reader's user find them.

// A plain button at its place.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place);

// A button with a caption and one of the style's standard pictures; Enter never presses it for being
// focused (each window chooses its own default button).
QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph);

// A text box at its place, named after its label for screen readers.
QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label);

// A password box: stars whatever the style's own character, and no more characters than the access
// dialog lets anyone type, so that every saved password can be typed there.
QLineEdit* MakePasswordBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label);
