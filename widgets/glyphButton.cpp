#include "widgets/glyphButton.h"

#include <QPushButton>

QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(glyph));
    b->setAutoDefault(false);
    return b;
}
