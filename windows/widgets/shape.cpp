#include "windows/widgets/shape.h"

#include <QPainter>
#include <algorithm>

TShape::TShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TShape::SetOutline(const QColor& colour, int width, Qt::PenStyle style) {
    m_outline = colour;
    m_width = std::max(1, width);
    m_style = style;
    update();
}

void TShape::SetFill(const QColor& colour) {
    m_fill = colour;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(m_outline, m_width, m_style);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(m_fill.isValid() ? QBrush(m_fill) : Qt::NoBrush);
    // The outline lies inside the rectangle; the corner ellipses are a quarter of the shorter side wide.
    const qreal half = m_width / 2.0;
    const QRectF box = QRectF(rect()).adjusted(half, half, -half, -half);
    const qreal radius = std::min(width(), height()) / 8.0;
    painter.drawRoundedRect(box, radius, radius);
}
