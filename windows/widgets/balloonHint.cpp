#include "windows/widgets/balloonHint.h"

#include "windows/widgets/makers.h"

#include "windows/widgets/qtText.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWindow>

namespace {
constexpr int kTail = 12; // height of the tail
constexpr int kPad = 8;   // inner margin
constexpr int kRadius = 7;
const QColor kFill(0xFF, 0xFF, 0xE1);
const QColor kBorder(0x76, 0x76, 0x76);

} // namespace

TBalloonHint::TBalloonHint(QWidget* owner)
    // A click on the balloon goes to the control under it.
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput),
      m_owner(owner) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("ohint"));
    // A screen reader speaks a notification when it comes up (a tooltip only when asked to).
    SetAccessibleRole(this, QAccessible::Notification);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TBalloonHint::CancelHint);
    if (owner) {
        owner->installEventFilter(this);
        // The balloon is a window of its own; it goes when its owner goes.
        connect(owner, &QObject::destroyed, this, &QObject::deleteLater);
    }
}

void TBalloonHint::ShowHint(QWidget* target, const QString& title, const QString& text, int ms) {
    CancelHint();
    if (!target)
        return;
    // A tip is drawn above every window: while a box or dialog of another window waits for an answer
    // (a message shown at start-up, over the roster), it would cover that box's buttons.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && m_owner && modal != m_owner->window())
        return;
    m_target = target;
    m_title = title;
    m_text = text;
    m_duration = ms;

    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics tm(titleFont);
    const QFontMetrics bm(font());
    const QString body = ShownLines(text);
    QRect textBox = bm.boundingRect(QRect(0, 0, 400, 2000), Qt::TextWordWrap, body);
    int width = textBox.width();
    int height = textBox.height();
    if (!title.isEmpty()) {
        width = std::max(width, tm.horizontalAdvance(title));
        height += tm.height() + 4;
    }
    width += 2 * kPad;
    height += 2 * kPad + kTail;

    const QPoint anchor = target->mapToGlobal(QPoint(target->width() / 2, target->height()));
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 4096, 4096);
    m_tailUp = anchor.y() + height <= area.bottom();
    QPoint topLeft(anchor.x() - std::min(width / 4, 30),
                   m_tailUp ? anchor.y() : anchor.y() - height - target->height());
    if (!m_tailUp)
        topLeft.setY(target->mapToGlobal(QPoint(0, 0)).y() - height);
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - width)));
    m_tailX = std::clamp(anchor.x() - topLeft.x(), kRadius + kTail,
                         std::max(kRadius + kTail, width - kRadius - kTail));

    resize(width, height);
    move(topLeft);
    setMask(QRegion(shape().toFillPolygon().toPolygon()));
    // Tied to the window it speaks for: a Wayland compositor then shows it as that window's popup,
    // placed against it, where a window of its own would be handed the keyboard (the tip's flags
    // that refuse it mean nothing there) and the keys meant for the owner would go nowhere.
    if (m_owner) {
        create();
        if (QWindow* window = windowHandle(); window && m_owner->window()->windowHandle())
            window->setTransientParent(m_owner->window()->windowHandle());
    }
    show();
    // The new outline takes the input region with it under X11: make it empty again.
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowTransparentForInput, false);
        window->setFlag(Qt::WindowTransparentForInput, true);
    }
    raise();
    // Screen readers hear the balloon as it appears.
    setAccessibleName(title.isEmpty() ? ShownLines(text) : title);
    setAccessibleDescription(ShownLines(text));
    QAccessibleEvent announced(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&announced);
    // Comes up again for them now that it has its texts: they speak a notification as it shows.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    if (ms > 0)
        m_timer.start(ms);
}

void TBalloonHint::CancelHint() {
    m_timer.stop();
    hide();
}

QPainterPath TBalloonHint::shape() const {
    const int top = m_tailUp ? kTail : 0;
    const QRectF body(0, top, width() - 1, height() - kTail - 1);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    QPainterPath tail;
    if (m_tailUp) {
        tail.moveTo(m_tailX - kTail / 2.0, top + 1);
        tail.lineTo(m_tailX, 0);
        tail.lineTo(m_tailX + kTail / 2.0, top + 1);
    } else {
        const double bottom = body.bottom();
        tail.moveTo(m_tailX - kTail / 2.0, bottom - 1);
        tail.lineTo(m_tailX, height() - 1);
        tail.lineTo(m_tailX + kTail / 2.0, bottom - 1);
    }
    tail.closeSubpath();
    return path.united(tail);
}

void TBalloonHint::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kBorder);
    p.setBrush(kFill);
    p.drawPath(shape());
    p.setPen(Qt::black);
    int y = (m_tailUp ? kTail : 0) + kPad;
    if (!m_title.isEmpty()) {
        QFont titleFont = font();
        titleFont.setBold(true);
        p.setFont(titleFont);
        const QFontMetrics tm(titleFont);
        p.drawText(QRect(kPad, y, width() - 2 * kPad, tm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   m_title);
        y += tm.height() + 4;
        p.setFont(font());
    }
    p.drawText(QRect(kPad, y, width() - 2 * kPad, height() - y),
               Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, ShownLines(m_text));
}

bool TBalloonHint::eventFilter(QObject* watched, QEvent* event) {
    // A tip belongs to its window while that window is in front: a dialog opened over it, or the
    // window going away, takes the tip with it.
    if (watched == m_owner &&
        (event->type() == QEvent::Hide || event->type() == QEvent::Close ||
         event->type() == QEvent::WindowDeactivate || event->type() == QEvent::WindowBlocked))
        CancelHint();
    return QWidget::eventFilter(watched, event);
}
