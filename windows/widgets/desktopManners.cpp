#include "windows/widgets/desktopManners.h"

#include "windows/widgets/messages.h"

#include <QAbstractNativeEventFilter>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

#if !defined(_WIN32) && __has_include(<xcb/xproto.h>)
#include <xcb/xproto.h>
#define VT_SEES_X_RELEASES 1
#endif

namespace {

// An access key closes its window in the middle of the press (the button's click comes a moment
// later, with the key still down); the key's repetitions then go to the window that becomes
// active, where the same access key may mean something else: "Sair da Aula" by Alt+S followed by
// the roster's "Sair", a "No" by Alt+N followed by "Novo Aluno". A key's repetitions are let
// through only to the window the key went down in; those that reach another window are dropped,
// before the toolkit matches them against that window's access keys.
constexpr quint64 kRepeatDelayMs = 700;

class HeldKeys : public QObject, public QAbstractNativeEventFilter {
public:
    using QObject::QObject;

    // A key let go in a window a modal box has just blocked never reaches the program as an
    // event; without its release, a fresh press in the box would pass for a repetition.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
#ifdef VT_SEES_X_RELEASES
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_RELEASE)
            return false;
        const auto* release = static_cast<const xcb_key_release_event_t*>(message);
        if (auto it = m_keys.find(release->detail); it != m_keys.end()) {
            it->down = false;
            it->releasedAt = release->time;
        }
#else
        Q_UNUSED(eventType);
        Q_UNUSED(message);
#endif
        return false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type == QEvent::KeyPress && AltTypesNothing(watched, static_cast<QKeyEvent*>(event)))
            return true;
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
            !event->spontaneous())
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->timestamp() == 0)
            return false; // made by the program itself (its tests), not by a keyboard
        const quint32 id = key->nativeScanCode() != 0 ? key->nativeScanCode() : quint32(key->key());
        auto it = m_keys.find(id);
        if (type == QEvent::KeyRelease) {
            if (!key->isAutoRepeat() && it != m_keys.end()) {
                it->down = false;
                it->releasedAt = key->timestamp();
            }
            return false;
        }
        // The X server repeats a key as a release and a press at the same instant; the toolkit marks
        // the press as a repetition only when both were already queued, which a busy machine misses.
        // The release is lost when no window of the program has the focus (a window closing): a
        // press of a key still down, soon after its last press (the server's delay before repeating
        // is at most about 660 ms), is a repetition too.
        const quint64 at = key->timestamp();
        const bool repeated = key->isAutoRepeat() ||
                              (it != m_keys.end() && ((it->releasedAt != 0 && it->releasedAt == at) ||
                                                      (it->down && at - it->pressedAt <= kRepeatDelayMs)));
        if (repeated && it != m_keys.end())
            it->pressedAt = at;
        QWidget* window = widget->window();
        if (!repeated) {
            m_keys[id] = {window, true, at, 0};
            return false;
        }
        if (it != m_keys.end() && it->window == window)
            return false;
        // Only a key whose window has gone (closed by that very key) is kept from the next one: while
        // the window it went down in is still open (a message box over a dialog), a press that came
        // soon after is the user's own and is delivered.
        if (it != m_keys.end() && it->window && it->window->isVisible() && !key->isAutoRepeat() &&
            it->releasedAt != at) {
            m_keys[id] = {window, true, at, 0};
            return false;
        }
        // Accepting the override keeps the toolkit from trying the window's access keys.
        event->accept();
        return true;
    }

private:
    struct Down {
        QPointer<QWidget> window; // where the key went down
        bool down;                // no release seen since
        quint64 pressedAt;        // the instant of its last press or repetition
        quint64 releasedAt;       // the instant of its last release (0: unknown)
    };
    QHash<quint32, Down> m_keys;
};

} // namespace

bool AltTypesNothing(QObject* target, QKeyEvent* key) {
    // Alt with a letter is an access key or nothing. The toolkit's text boxes take Alt+F as "f" when
    // no access key of the window matches, which happens when the key comes quickly after the one
    // that opened the window: five quick Alt+F in the roster put "ffff" in the access dialog's
    // password. AltGr is not Alt (on Windows it is Ctrl+Alt, and stays a character).
    const auto mods = key->modifiers();
    if (!(mods & Qt::AltModifier) || (mods & (Qt::ControlModifier | Qt::MetaModifier)) ||
        key->text().isEmpty())
        return false;
    const bool textBox = qobject_cast<QLineEdit*>(target) || qobject_cast<QAbstractSpinBox*>(target) ||
                         qobject_cast<QTextEdit*>(target) || qobject_cast<QPlainTextEdit*>(target);
    if (!textBox || !key->text().at(0).isPrint())
        return false;
    key->accept();
    return true;
}

void InstallDesktopManners() {
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    auto* keys = new HeldKeys(qApp);
    qApp->installEventFilter(keys);
    qApp->installNativeEventFilter(keys);
    EnsureToolkitTranslations();
}
