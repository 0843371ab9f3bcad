#pragma once
#include <QColor>

class QWidget;

// A control's designed text colour and, when given, its background (which it then paints itself).
void SetColours(QWidget* widget, const QColor& text, const QColor& background = QColor());
