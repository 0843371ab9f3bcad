#include "windows/widgets/ownCaption.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {
const QColor kCaption(0x00, 0x00, 0x80);
const QColor kEdge(0x40, 0x40, 0x40);

// The caption strip: the window's title, and a handle to move the window by.
class TCaptionStrip : public QLabel {
public:
    explicit TCaptionStrip(QWidget* window) : QLabel(window) {
        setObjectName(QStringLiteral("caption"));
        setTextFormat(Qt::PlainText); // a title may hold a student's name
        m_title = window->windowTitle();
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
        // A window designed with a close button keeps one, at the strip's right end.
        if (window->windowFlags() & Qt::WindowCloseButtonHint) {
            m_close = new QToolButton(this);
            m_close->setObjectName(QStringLiteral("captionClose"));
            m_close->setText(QStringLiteral("\u00d7")); // white on the strip, as its title
            m_close->setFont(font());
            QPalette white = palette();
            white.setColor(QPalette::ButtonText, Qt::white);
            m_close->setPalette(white);
            m_close->setAccessibleName(QStringLiteral("Fechar"));
            m_close->setFocusPolicy(Qt::NoFocus);
            m_close->setAutoRaise(true);
            connect(m_close, &QToolButton::clicked, window, &QWidget::close);
        }
        window->installEventFilter(this);
    }

    void fit(int width, int height) {
        setGeometry(0, 0, width, height);
        if (m_close) {
            m_close->setGeometry(width - height, 1, height - 2, height - 2);
            setContentsMargins(0, 0, height, 0);
        }
        showTitle();
    }

    // The width the whole title needs, the close button included.
    int NeededWidth() const {
        return fontMetrics().horizontalAdvance(m_title) + 2 * indent() + 2 * frameWidth() + 4 +
               (m_close ? height() : 0);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && window()->windowHandle())
            window()->windowHandle()->startSystemMove();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowTitleChange) {
            m_title = w->windowTitle();
            showTitle();
        } else if (event->type() == QEvent::Resize) {
            fit(w->width(), height());
        } else if (event->type() == QEvent::Paint) {
            // An edge round the undecorated window, under its controls.
            QPainter painter(w);
            painter.setPen(kEdge);
            painter.drawRect(w->rect().adjusted(0, 0, -1, -1));
        }
        return false;
    }

private:
    // Where the window is still too narrow (a theme's large font), the title ends in an ellipsis
    // rather than cut off in the middle of a letter.
    void showTitle() {
        const int room = contentsRect().width() - 2 * indent() - 2;
        setText(fontMetrics().elidedText(m_title, Qt::ElideRight, std::max(0, room)));
    }

    QToolButton* m_close = nullptr;
    QString m_title;
};

// The toolkit keeps a frame on a window asking for caption buttons: the strip has them instead.
void goFrameless(QWidget* window) {
    window->setWindowFlags(
        (window->windowFlags() & ~(Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint)) |
        Qt::FramelessWindowHint);
}
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
    strip->fit(window->width(), height);
    if (QLayout* layout = window->layout()) {
        // A laid-out window (a message box) keeps its own size rule; the strip takes its top margin,
        // and a spacer as wide as the title makes the window at least that wide (a message box fixes
        // its own size from its layout's).
        const QMargins m = window->contentsMargins();
        window->setContentsMargins(m.left(), m.top() + height, m.right(), m.bottom());
        const int need = strip->NeededWidth() - m.left() - m.right() - layout->contentsMargins().left() -
                         layout->contentsMargins().right();
        auto* spacer = new QSpacerItem(std::max(0, need), 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
        if (auto* grid = qobject_cast<QGridLayout*>(layout))
            grid->addItem(spacer, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
        else
            layout->addItem(spacer);
        goFrameless(window);
        return;
    }
    for (QWidget* control : controls)
        if (!control->isWindow())
            control->move(control->x(), control->y() + height);
    const QPoint centre = window->geometry().center();
    window->setFixedSize(window->width(), window->height() + height);
    window->move(centre - window->rect().center());
    goFrameless(window);
}
