#include "widgets/ownCaption.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace {
const QColor kCaption(0x00, 0x00, 0x80);
const QColor kEdge(0x40, 0x40, 0x40);

// The caption strip: the window's title, and a handle to move the window by.
class TCaptionStrip : public QLabel {
public:
    explicit TCaptionStrip(QWidget* window) : QLabel(window) {
        setObjectName(QStringLiteral("caption"));
        setText(window->windowTitle());
        QFont f = window->font();
        f.setBold(true);
        setFont(f);
        setIndent(4);
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QPalette p = palette();
        p.setColor(QPalette::Window, kCaption);
        p.setColor(QPalette::WindowText, Qt::white);
        setPalette(p);
        setAutoFillBackground(true);
        window->installEventFilter(this);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && window()->windowHandle())
            window()->windowHandle()->startSystemMove();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowTitleChange) {
            setText(w->windowTitle());
        } else if (event->type() == QEvent::Paint) {
            // An edge round the undecorated window, under its controls.
            QPainter painter(w);
            painter.setPen(kEdge);
            painter.drawRect(w->rect().adjusted(0, 0, -1, -1));
        }
        return false;
    }
};
} // namespace

bool DrawsOwnCaption() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void GiveOwnCaption(QWidget* window) {
    if (!DrawsOwnCaption() ||
        window->findChild<QLabel*>(QStringLiteral("caption"), Qt::FindDirectChildrenOnly))
        return;
    const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    auto* strip = new TCaptionStrip(window);
    const int height = strip->fontMetrics().height() + 6;
    for (QWidget* control : controls)
        if (!control->isWindow())
            control->move(control->x(), control->y() + height);
    strip->setGeometry(0, 0, window->width(), height);
    const QPoint centre = window->geometry().center();
    window->setFixedSize(window->width(), window->height() + height);
    window->move(centre - window->rect().center());
    window->setWindowFlag(Qt::FramelessWindowHint, true);
}
