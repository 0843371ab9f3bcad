#include "exercise/uKey.h"

#include "lessons/lessonFile.h"
#include "lessons/uAulas.h"
#include "platform/tickCounter.h"
#include "widgets/designScale.h"
#include "widgets/messages.h"

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

struct Relabel {
    const char* key;
    const char* legend[2]; // layout 0, layout 1
};
const Relabel kRelabelled[] = {
    {"l27", {"[", "´"}}, {"l28", {"]", "["}}, {"l40", {";", "Ç"}}, {"l41", {"´", "~"}}, {"l52", {"/", ";"}},
};
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
    const DesignScale s(106);
    s.fixSize(this, 243, 92);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowColour);
    setPalette(p);
    setFont(s.font(QStringLiteral("MS Sans Serif"), 12));
    Guard([this] { FormCreate(); });
}

void TfrmKey::BuildControls() {
    // Row 1: ` 1 .. 0 - = \ Backspace.
    const char* row1[] = {"l1", "l2", "l3",  "l4",  "l5",  "l6",  "l7",
                          "l8", "l9", "l10", "l11", "l12", "l13", "l14"};
    const char* legends1[] = {"`", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "-", "=", "\\"};
    for (int i = 0; i < 14; ++i)
        addKey(row1[i], QString::fromUtf8(legends1[i]), 3 + 16 * i, 2, 14, 17, false);
    addKey("l15", QStringLiteral("<--"), 227, 2, 14, 17, true);
    // Row 2: Tab (never shown), Q .. P [ ], the upper part of Enter.
    addKey("l16", QStringLiteral("Tab"), 3, 20, 22, 17, true)->hide();
    const char* row2[] = {"l17", "l18", "l19", "l20", "l21", "l22", "l23", "l24", "l25", "l26", "l27", "l28"};
    const char* legends2 = "QWERTYUIOP[]";
    for (int i = 0; i < 12; ++i)
        addKey(row2[i], QString(QLatin1Char(legends2[i])), 27 + 16 * i, 20, 14, 17, false);
    addKey("l29_1", QString(), 219, 20, 22, 19, true);
    // Row 3: Caps Lock, A .. L ; ', the lower part of Enter; the joint lies over the seam.
    addKey("l30", QStringLiteral("Caps L"), 3, 38, 29, 17, true);
    const char* row3[] = {"l31", "l32", "l33", "l34", "l35", "l36", "l37", "l38", "l39", "l40", "l41"};
    const char* legends3 = "ASDFGHJKL;'";
    for (int i = 0; i < 11; ++i)
        addKey(row3[i], QString(QLatin1Char(legends3[i])), 33 + 16 * i, 38, 14, 17, false);
    addKey("l29_3", QStringLiteral("  ENTER"), 209, 38, 32, 17, true);
    addKey("l29_2", QString(), 220, 31, 20, 8, true, false);
    // Row 4: Shift, Z .. M , . /, Shift.
    addKey("l42", QStringLiteral("Shift"), 3, 56, 35, 17, true);
    const char* row4[] = {"l43", "l44", "l45", "l46", "l47", "l48", "l49", "l50", "l51", "l52"};
    const char* legends4 = "ZXCVBNM,./";
    for (int i = 0; i < 10; ++i)
        addKey(row4[i], QString(QLatin1Char(legends4[i])), 39 + 16 * i, 56, 14, 17, false);
    addKey("l53", QStringLiteral("Shift"), 199, 56, 42, 17, true);
    // Row 5: the space bar.
    addKey("l54", QString(), 69, 74, 91, 17, false);
}

QLabel* TfrmKey::addKey(const char* name, const QString& legend, int left, int top, int width, int height,
                        bool functionKey, bool border) {
    const DesignScale s(106);
    auto* key = new TKeyCap(legend, this);
    key->setObjectName(QString::fromLatin1(name));
    key->setFocusPolicy(Qt::NoFocus);
    key->setAutoFillBackground(true);
    key->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    key->setTextFormat(Qt::PlainText);
    key->setIndent(1); // from the left edge; a frame would otherwise indent it by half an "x"
    if (border) {
        key->setFrameShape(QFrame::Box);
        key->setLineWidth(1);
    }
    if (functionKey) {
        // A bitmap face has no 7-pixel size; an outline one keeps the legends inside their keys.
        QFont f = s.font(QStringLiteral("Terminal"), 7);
        f.setStyleStrategy(QFont::ForceOutline);
        key->setFont(f);
    }
    s.place(key, left, top, width, height);
    m_keys.insert(key->objectName(), key);
    m_function.insert(key, functionKey);
    m_designedFont.insert(key, key->font());
    paintNormal(key);
    fitLegend(key);
    return key;
}

void TfrmKey::fitLegend(QLabel* key) {
    // The look-alike faces are wider than the designed ones: a legend that would be clipped by its
    // key ("M", "W", "  ENTER" at 96 dpi) is written a pixel smaller until it fits.
    QFont f = m_designedFont.value(key, key->font());
    const int room = key->contentsRect().width() - key->indent();
    while (f.pixelSize() > 5 && QFontMetrics(f).horizontalAdvance(key->text()) > room)
        f.setPixelSize(f.pixelSize() - 1);
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
    auto one = [this](const char* name) { return QList<QLabel*>{Key(QString::fromLatin1(name))}; };
    if (code > 222)
        return {};
    switch (code) {
    case 8:
        return one("l15");
    case 13:
        return {Key(QStringLiteral("l29_1")), Key(QStringLiteral("l29_2")), Key(QStringLiteral("l29_3"))};
    case 16:
        return {Key(QStringLiteral("l42")), Key(QStringLiteral("l53"))};
    case 20:
        return one("l30");
    case 32:
        return one("l54");
    case 48:
        return one("l11");
    case 186:
        return one("l40");
    case 187:
        return one("l13");
    case 188:
        return one("l50");
    case 189:
        return one("l12");
    case 190:
        return one("l51");
    case 191:
        return one("l52");
    case 192:
        return one("l1");
    case 219:
        return one("l27");
    case 220:
        return one("l14");
    case 221:
        return one("l28");
    case 222:
        return one("l41");
    default:
        break;
    }
    if (code >= 49 && code <= 57)
        return {Key(QStringLiteral("l%1").arg(code - 49 + 2))};
    if (code >= 65 && code <= 90) {
        // The letters are found by their legend, which no layout changes.
        const QString letter(QLatin1Char(static_cast<char>(code)));
        for (QLabel* key : Keys())
            if (key->text() == letter && key->objectName() != QLatin1String("l16"))
                return {key};
    }
    return {};
}

void TfrmKey::ApplyLayout(int layout) {
    if (layout != 0 && layout != 1)
        return;
    for (const Relabel& r : kRelabelled) {
        QLabel* key = Key(QString::fromLatin1(r.key));
        key->setText(QString::fromUtf8(r.legend[layout]));
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

void ShowKeyboard(int left, int top, QWidget* exerciseWindow) {
    const DesignScale s(106);
    frmKey->move(s(left), s(top));
    if (frmKey->ExerciseWindow != exerciseWindow) {
        if (frmKey->ExerciseWindow)
            frmKey->ExerciseWindow->removeEventFilter(frmKey);
        frmKey->ExerciseWindow = exerciseWindow;
        if (exerciseWindow)
            exerciseWindow->installEventFilter(frmKey);
    }
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
    frmKey->move(kOffScreen, kOffScreen);
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
