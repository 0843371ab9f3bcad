#include "windows/widgets/blinkingLabel.h"

#include <QPainter>

TBlinkingLabel::TBlinkingLabel(int shownMs, int hiddenMs, QWidget* parent)
    : QLabel(parent), m_shownMs(shownMs), m_hiddenMs(hiddenMs) {
    setTextFormat(Qt::PlainText);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TBlinkingLabel::toggle);
}

void TBlinkingLabel::toggle() {
    m_shown = !m_shown;
    m_timer.start(m_shown ? m_shownMs : m_hiddenMs);
    update();
}

void TBlinkingLabel::paintEvent(QPaintEvent* event) {
    if (m_shown) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // NOLINT(bugprone-parent-virtual-call): background and frame, no text
}

void TBlinkingLabel::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    m_shown = true;
    m_timer.start(m_shownMs);
}

void TBlinkingLabel::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QLabel::hideEvent(event);
}
