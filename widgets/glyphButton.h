#pragma once
#include <QStyle>

class QPushButton;
class QString;
class QWidget;

// A button with a caption and one of the style's standard pictures, named for finding it; Enter never
// presses it for being focused (each window chooses its own default button).
QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph);
