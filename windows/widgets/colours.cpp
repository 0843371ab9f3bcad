#include "windows/widgets/colours.h"

#include <QPalette>
#include <QWidget>

void SetColours(QWidget* widget, const QColor& text, const QColor& background) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, text);
    if (background.isValid()) {
        p.setColor(QPalette::Window, background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(p);
}
