#include "windows/course/uKey.h"

#include "core/lessons/lessonFile.h"
#include "core/platform/displayBackend.h"
#include "core/platform/keyboard.h"
#include "core/platform/tickCounter.h"
#include "windows/course/uAulas.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/messages.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWindow>

TfrmKey* frmKey = nullptr;

namespace {
constexpr int kOffScreen = 10000;
constexpr std::uint32_t kFlashMs = 150;
const QColor kWindowColour(0x40, 0x00, 0x00);
const QColor kOrdinaryColour(0xC4, 0xFF, 0xEF);
const QColor kFunctionColour(0x01, 0xCB, 0xC1);
const QColor kLitColour(0xE8, 0x00, 0x00);
const QColor kLitText(0xFF, 0xFF, 0xFF);

} // namespace

void TKeyCap::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    // The border keeps its dark line when the legend turns white in a flash.
    if (frameShape() == QFrame::Box) {
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

TfrmKey::TfrmKey()
    : DeferredControls(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                    Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("frmKey"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    const DesignScale s;
    s.designWindow(this, 243, 92, QStringLiteral("MS Sans Serif"), 12);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowColour);
    setPalette(p);
    Guard([this] { FormCreate(); });
}

void TfrmKey::BuildControls() {
    for (const TKeyboardKey& k : KeyboardKeys())
        if (k.OnScreen())
            addKey(k);
    // Found once, not at every key a student types.
    for (const TKeyboardKey& k : KeyboardKeys())
        if (k.Lit())
            m_byCode[k.code] << m_keys.value(QString::fromLatin1(k.name));
}

void TfrmKey::addKey(const TKeyboardKey& k) {
    const DesignScale s;
    const bool functionKey = k.look != KeyLook::Ordinary;
    auto* key = new TKeyCap(QString::fromUtf8(k.legend), this);
    key->setObjectName(QString::fromLatin1(k.name));
    key->setFocusPolicy(Qt::NoFocus);
    key->setAutoFillBackground(true);
    key->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    key->setTextFormat(Qt::PlainText);
    key->setIndent(1); // from the left edge; a frame would otherwise indent it by half an "x"
    if (k.look != KeyLook::Joint) {
        key->setFrameShape(QFrame::Box);
        key->setLineWidth(1);
    }
    if (functionKey) {
        // A bitmap face has no 7-pixel size; an outline one keeps the legends inside their keys.
        QFont f = s.font(QStringLiteral("Terminal"), 7);
        f.setStyleStrategy(QFont::ForceOutline);
        key->setFont(f);
    }
    s.place(key, k.left, k.top, k.width, k.height);
    if (k.look == KeyLook::Hidden)
        key->hide();
    m_keys.insert(key->objectName(), key);
    m_function.insert(key, functionKey);
    m_designedFont.insert(key, key->font());
    paintNormal(key);
    fitLegend(key);
}

void TfrmKey::fitLegend(QLabel* key) {
    // The look-alike faces are wider than the designed ones: a legend that would be clipped by its
    // key ("M", "W", "  ENTER" at 96 dpi) is written a pixel smaller until it fits.
    const QFont f = FittedFont(m_designedFont.value(key, key->font()), {key->text()},
                               key->contentsRect().width() - key->indent(), 5);
    if (f != key->font())
        key->setFont(f);
}

void TfrmKey::paintNormal(QLabel* key) {
    // The designed pale keys keep dark legends and borders under a dark desktop theme too.
    QPalette p = key->palette();
    p.setColor(QPalette::Window, m_function.value(key) ? kFunctionColour : kOrdinaryColour);
    p.setColor(QPalette::WindowText, Qt::black);
    key->setPalette(p);
}

void TfrmKey::FormCreate() {
    move(kOffScreen, kOffScreen);
}

QList<QLabel*> TfrmKey::KeysOf(std::uint16_t code) {
    EnsureBuilt();
    return code > Vk::LastKeyCode ? QList<QLabel*>() : m_byCode.value(code);
}

void TfrmKey::ApplyLayout(int layout) {
    if (layout != 0 && layout != 1)
        return;
    m_layout = layout;
    for (const TKeyboardKey& k : KeyboardKeys())
        if (k.layout0) {
            QLabel* key = Key(QString::fromLatin1(k.name));
            key->setText(QString::fromUtf8(layout == 0 ? k.layout0 : k.abnt2));
            fitLegend(key);
        }
}

void TfrmKey::Light(const QList<QLabel*>& keys) {
    for (QLabel* key : keys) {
        if (m_lit[key]++ > 0)
            continue;
        QPalette p = key->palette();
        p.setColor(QPalette::Window, kLitColour);
        p.setColor(QPalette::WindowText, kLitText);
        key->setPalette(p);
    }
}

void TfrmKey::Unlight(const QList<QLabel*>& keys) {
    for (QLabel* key : keys) {
        int& count = m_lit[key];
        if (count > 0 && --count == 0)
            paintNormal(key);
    }
}

bool TfrmKey::eventFilter(QObject* watched, QEvent* event) {
    // The exercise window is shown after the keyboard was placed; without a window manager that
    // keeps topmost windows on top, it would cover the keyboard. Raise it again whenever that
    // window comes up or back.
    if (watched == ExerciseWindow && x() != kOffScreen &&
        (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate))
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                raise();
        });
    return QWidget::eventFilter(watched, event);
}

bool CompositorPlacesWindows() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("wayland") || (platform == QLatin1String("xcb") && InWaylandSession());
}

void ShowKeyboard(int left, int top, QWidget* exerciseWindow) {
    const DesignScale s;
    // A compositor puts a window where it likes (weston's X window manager even a transient one,
    // whatever it asks) and keeps the full-screen exercise window above it: the keyboard becomes
    // part of that window, whose top-left corner is the screen's.
    const bool inside = exerciseWindow && CompositorPlacesWindows();
    if (inside && frmKey->parentWidget() != exerciseWindow)
        frmKey->setParent(exerciseWindow, Qt::Widget);
    frmKey->move(s(left), s(top));
    if (frmKey->ExerciseWindow != exerciseWindow) {
        if (frmKey->ExerciseWindow)
            frmKey->ExerciseWindow->removeEventFilter(frmKey);
        frmKey->ExerciseWindow = exerciseWindow;
        if (exerciseWindow)
            exerciseWindow->installEventFilter(frmKey);
    }
    if (!inside)
        frmKey->KeepAbove(exerciseWindow);
    if (!frmKey->isVisible())
        frmKey->show();
    frmKey->raise();
    if (exerciseWindow && exerciseWindow->isVisible())
        exerciseWindow->activateWindow();
    frmKey->ApplyLayout(ReadStudentLayout(CurrentStudentProfile().toStdString()));
}

void TfrmKey::KeepAbove(QWidget* exerciseWindow) {
    // A window manager stacks a modal window above every window of its group, a topmost one
    // included; only a window transient for it stays above it.
    if (!exerciseWindow)
        return;
    exerciseWindow->winId();
    winId();
    QWindow* above = exerciseWindow->windowHandle();
    if (!above || !windowHandle() || windowHandle()->transientParent() == above)
        return;
    windowHandle()->setTransientParent(above);
    // The window manager reads the relation when the window is mapped.
    if (isVisible()) {
        hide();
        show();
    }
}

void HideKeyboard() {
    // Moved far off only, a window manager pulls a corner of it back onto the screen, above
    // everything: it is hidden as well, and the next showing maps it again at its place.
    frmKey->move(kOffScreen, kOffScreen);
    frmKey->hide();
}

void KeyFlashDelay(std::uint32_t ms) {
    KeyFlashDelaySince(TickCount(), ms);
}

void KeyFlashDelaySince(std::uint32_t start, std::uint32_t ms) {
    // A timer wakes the wait when no other event comes, so the processor sleeps in between.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const std::uint32_t elapsed = TickCount() - start; // unsigned: a wrap of the counter is harmless
        if (elapsed >= ms)
            break;
        wake.start(static_cast<int>(ms - elapsed));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void FlashKey(std::uint16_t keyCode) {
    if (!frmKey)
        return;
    const QList<QLabel*> keys = frmKey->KeysOf(keyCode);
    if (keys.isEmpty())
        return;
    QPointer<TfrmKey> keyboard = frmKey;
    keyboard->Light(keys);
    // The flash lasts from the moment the keys turn red, their painting included.
    const std::uint32_t litAt = TickCount();
    // Put back even when an event handled during the wait raises.
    struct Restore {
        QPointer<TfrmKey>& k;
        const QList<QLabel*>& keys;
        ~Restore() {
            if (k)
                k->Unlight(keys);
        }
    } restore{keyboard, keys};
    QCoreApplication::processEvents();
    KeyFlashDelaySince(litAt, kFlashMs);
}
