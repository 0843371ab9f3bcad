#include "windows/widgets/makers.h"

#include "core/storage/studentName.h"
#include "windows/widgets/designScale.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

void DesignDialog(QWidget* dialog, const char* name, int width, int height) {
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowModality(Qt::ApplicationModal);
    DesignScale().designWindow(dialog, width, height, QStringLiteral("MS Sans Serif"), 11);
    CentreOnScreen(dialog);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    QPushButton* b = MakeButton(parent, name, caption);
    b->setGeometry(place);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    // Labels show names, titles and values that come from files: never as rich text.
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QLabel* MakeSunkenLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    QLabel* label = MakeLabel(parent, name, text, place);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

namespace {
// The style's glyphs are drawn in black (the play triangle, the X of "Sair"): on a dark theme's buttons
// they all but vanish. Their dark strokes take the button's text colour there; a light theme keeps
// them as they are, and coloured parts (the information sign) stay coloured.
QIcon glyphOn(const QIcon& glyph, const QColor& text) {
    if (text.lightness() < 128)
        return glyph;
    QIcon shown;
    QList<QSize> sizes = glyph.availableSizes();
    if (sizes.isEmpty())
        sizes << QSize(16, 16);
    for (const QSize& size : sizes) {
        QImage image = glyph.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(line[x]) != 0 && QColor(line[x]).lightness() < 96)
                    line[x] = qRgba(text.red(), text.green(), text.blue(), qAlpha(line[x]));
        }
        shown.addPixmap(QPixmap::fromImage(image));
    }
    return shown;
}

class TGlyphColours : public QObject {
public:
    TGlyphColours(QPushButton* button, const QIcon& glyph) : QObject(button), m_glyph(glyph) {
        button->installEventFilter(this);
        refresh(button);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange)
            refresh(static_cast<QPushButton*>(watched));
        return false;
    }

private:
    void refresh(QPushButton* button) const {
        button->setIcon(glyphOn(m_glyph, button->palette().color(QPalette::ButtonText)));
    }
    QIcon m_glyph;
};
} // namespace

QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph) {
    QPushButton* b = MakeButton(parent, name, caption);
    new TGlyphColours(b, parent->style()->standardIcon(glyph));
    b->setAutoDefault(false);
    return b;
}

namespace {
// The rings of options and the boxes of check boxes are drawn a shade darker than the window: on a
// dark theme an empty one cannot be told from the window. There they are outlined again in a colour
// three quarters of the way from the background's to the text's.
class TMarksOnDarkThemes : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const QColor text = option->palette.color(QPalette::Text);
        if ((element != PE_IndicatorRadioButton && element != PE_IndicatorCheckBox) || text.lightness() < 128)
            return;
        const QColor base = option->palette.color(QPalette::Base);
        const QColor ring((3 * text.red() + base.red()) / 4, (3 * text.green() + base.green()) / 4,
                          (3 * text.blue() + base.blue()) / 4);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(ring, 1.0));
        const QRectF r = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
        if (element == PE_IndicatorRadioButton)
            painter->drawEllipse(r);
        else
            painter->drawRect(r);
        painter->restore();
    }
};

QStyle* marksStyle() {
    // One for the program, made on first use; it follows the application's style.
    static QPointer<TMarksOnDarkThemes> style;
    if (!style) {
        style = new TMarksOnDarkThemes;
        style->setParent(qApp);
    }
    return style;
}
} // namespace

QRadioButton* MakeOption(QWidget* parent, const QString& caption) {
    auto* option = new QRadioButton(caption, parent);
    option->setStyle(marksStyle());
    return option;
}

QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setAccessibleName(label->text());
    return box;
}

namespace {
bool IsPasswordBox(QObject* o) {
    auto* box = qobject_cast<QLineEdit*>(o);
    return box && box->echoMode() != QLineEdit::Normal;
}

QString Stars(const QString& text) {
    return QString(text.size(), QLatin1Char('*'));
}

QAccessible::UpdateHandler g_nextHandler = nullptr;
constexpr const char* kQuietValue = "vtQuietValue";
constexpr const char* kRole = "vtAccessibleRole";

// A widget given a role of its own is presented with it.
QAccessibleInterface* WithOwnRole(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(kRole);
    return role.isValid() ? new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()))
                          : nullptr;
}

void Notify(QAccessibleEvent* event);

// Hands an event on to whoever handled events before: the handler put in before this one, or the
// toolkit's own bridge to the screen reader (reached by calling the toolkit without this handler).
void Forward(QAccessibleEvent* event) {
    if (g_nextHandler) {
        g_nextHandler(event);
        return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Notify);
}

// The toolkit's text box sends the characters typed into a password box in its "text inserted",
// "removed" and "updated" events (only reading the box's text gives nothing), and a screen reader
// speaks them aloud in a lab with shared speakers. Those events of a password box go on with a star
// for each character, as the box shows it; a box that shows nothing sends nothing.
void Notify(QAccessibleEvent* event) {
    QObject* object = event->object();
    const auto type = event->type();
    if (type == QAccessible::ValueChanged && object && object->property(kQuietValue).toBool())
        return;
    const bool textEvent = type == QAccessible::TextInserted || type == QAccessible::TextRemoved ||
                           type == QAccessible::TextUpdated || type == QAccessible::ValueChanged;
    if (!textEvent || !IsPasswordBox(object)) {
        Forward(event);
        return;
    }
    if (static_cast<QLineEdit*>(object)->echoMode() == QLineEdit::NoEcho)
        return;
    switch (type) {
    case QAccessible::TextInserted: {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
        QAccessibleTextInsertEvent stars(object, e->changePosition(), Stars(e->textInserted()));
        Forward(&stars);
        break;
    }
    case QAccessible::TextRemoved: {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
        QAccessibleTextRemoveEvent stars(object, e->changePosition(), Stars(e->textRemoved()));
        Forward(&stars);
        break;
    }
    case QAccessible::TextUpdated: {
        auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
        QAccessibleTextUpdateEvent stars(object, e->changePosition(), Stars(e->textRemoved()),
                                         Stars(e->textInserted()));
        Forward(&stars);
        break;
    }
    default: {
        QAccessibleValueChangeEvent stars(object, Stars(static_cast<QLineEdit*>(object)->text()));
        Forward(&stars);
        break;
    }
    }
}
} // namespace

void KeepPasswordsFromScreenReaders() {
    static const bool installed = [] {
        g_nextHandler = QAccessible::installUpdateHandler(Notify);
        QAccessible::installFactory(WithOwnRole);
        return true;
    }();
    (void)installed;
}

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) {
    KeepPasswordsFromScreenReaders();
    widget->setProperty(kRole, static_cast<int>(role));
}

void KeepValueQuiet(QWidget* widget) {
    KeepPasswordsFromScreenReaders();
    widget->setProperty(kQuietValue, true);
}

QLineEdit* MakePasswordBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label) {
    KeepPasswordsFromScreenReaders();
    QLineEdit* box = MakeTextBox(parent, name, place, label);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }")); // "*"
    box->setMaxLength(kMaxPasswordLength);
    return box;
}

namespace {
class TCurrentItemSpoken : public QObject {
public:
    explicit TCurrentItemSpoken(QAbstractItemView* view) : QObject(view) { view->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn)
            // After the toolkit's own event for the view, so that the item's is the last one heard.
            QTimer::singleShot(0, this, [this, view = static_cast<QAbstractItemView*>(watched)] {
                if (!QAccessible::isActive() || !view->hasFocus() || !view->currentIndex().isValid())
                    return;
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
                const QModelIndex current = view->currentIndex();
                int child = -1;
                if (auto* table = iface ? iface->tableInterface() : nullptr) {
                    if (QAccessibleInterface* cell = table->cellAt(current.row(), current.column()))
                        child = iface->indexOfChild(cell);
                }
                if (child < 0)
                    return;
                QAccessibleEvent focus(view, QAccessible::Focus);
                focus.setChild(child);
                QAccessible::updateAccessibility(&focus);
            });
        return false;
    }
};
} // namespace

void SpeakCurrentItemOnFocus(QAbstractItemView* view) {
    new TCurrentItemSpoken(view);
}
