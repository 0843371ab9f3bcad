#pragma once
#include "windows/widgets/deferredControls.h"

#include <QFont>
#include <QHash>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <cstdint>

struct TKeyboardKey;

// One key of the picture: a label whose border stays dark whatever colour its legend takes.
class TKeyCap : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The on-screen keyboard that floats above the exercise window: a topmost window that never takes
// the focus, off-screen until a lesson puts it up.
class TfrmKey : public DeferredControls<QWidget> {
    Q_OBJECT
public:
    TfrmKey();

    // The 56 keys, l1 .. l54 and the three pieces of Enter (l29_1, l29_2, l29_3), by object name.
    QLabel* Key(const QString& name) {
        EnsureBuilt();
        return m_keys.value(name);
    }
    QList<QLabel*> Keys() {
        EnsureBuilt();
        return m_keys.values();
    }
    // The keys that a virtual-key code lights (empty for codes that light nothing).
    QList<QLabel*> KeysOf(std::uint16_t keyCode);

    // The five relabelled keys for layout 0 or 1; other numbers leave them as they are.
    void ApplyLayout(int layout);
    // The layout last applied: 0 American, 1 ABNT2.
    int Layout() const { return m_layout; }

    // Lighting is counted per key, so that however flashes nest, a key goes back to its normal
    // colours exactly when the last flash holding it ends.
    void Light(const QList<QLabel*>& keys);
    void Unlight(const QList<QLabel*>& keys);
    bool IsLit(const QLabel* key) const { return m_lit.value(key) > 0; }

    void FormCreate();
    // Keeps the keyboard stacked above the exercise window under a window manager.
    void KeepAbove(QWidget* exerciseWindow);

    // The exercise window to keep the keyboard above while it is on screen.
    QPointer<QWidget> ExerciseWindow;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls() override;
    void addKey(const TKeyboardKey& key);
    void paintNormal(QLabel* key);
    void fitLegend(QLabel* key);
    int m_layout = 0;
    QHash<QString, QLabel*> m_keys;
    QHash<std::uint16_t, QList<QLabel*>> m_byCode; // the keys each code lights
    QHash<const QLabel*, int> m_lit;
    QHash<const QLabel*, bool> m_function;
    QHash<const QLabel*, QFont> m_designedFont;
};

extern TfrmKey* frmKey;

// Puts the keyboard at (left, top), designed pixels from the screen's top-left corner, above every
// window, with the legends of the current student's layout.
void ShowKeyboard(int left, int top, QWidget* exerciseWindow);
// Moves it out of sight; it stays shown and keeps its legends.
void HideKeyboard();
// Whether a compositor places the windows (a Wayland session, X windows included): there the
// exercise window is made full screen and the keyboard is drawn inside it, at the same place.
bool CompositorPlacesWindows();
// Lights the key(s) of a virtual-key code for 150 ms, processing events meanwhile.
void FlashKey(std::uint16_t keyCode);
// Waits ms milliseconds by the tick counter, handling events but sleeping between them.
void KeyFlashDelay(std::uint32_t ms);
// The same wait, counted from an earlier reading of the tick counter.
void KeyFlashDelaySince(std::uint32_t start, std::uint32_t ms);
