#pragma once
class QAbstractItemView;
#include <QAccessible>
#include <QStyle>

class QLabel;
class QObject;
class QTimer;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QRect;
class QString;
class QWidget;

// A dialog of fixed size with a caption and no caption buttons.
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

// A fixed dialog as designed: named, modal, of its designed size in the face it was laid out with,
// centred on the screen.
void DesignDialog(QWidget* dialog, const char* name, int width, int height);

// Controls are named as designed: that is how the program's tests and a screen reader's user find them.

// A plain button at its place (none: a layout places it).
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& place);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);

// A label at its place; sunken into the window, as values and counters are shown.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place);
QLabel* MakeSunkenLabel(QWidget* parent, const char* name, const QString& text, const QRect& place);

// A button with a caption and one of the style's standard pictures; Enter never presses it for being
// focused (each window chooses its own default button).
QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const QString& caption,
                             QStyle::StandardPixmap glyph);

// An option (radio button) with its caption, whose mark stays visible on a dark theme: the style
// draws an empty option's ring from the window's colour, dark on dark there.
QRadioButton* MakeOption(QWidget* parent, const QString& caption);

// A timer of the given interval. Precise: a coarse timer may fire up to 5% early, and the program's
// timers count the seconds a student sees (clocks, the countdown, the splash's time on screen).
QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs);

// A text box at its place, named after its label for screen readers.
QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label);

// Password boxes' characters never reach a screen reader: the accessibility events of every
// password box carry stars. Made once; every password box's maker calls it.
void KeepPasswordsFromScreenReaders();

// A widget presented to screen readers in the given role (a plain widget is otherwise a "filler").
// Set before the widget is first presented.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

// A widget whose changes of value are not announced (a bar that follows every typed key); its
// value is still read when the reader goes to it.
void KeepValueQuiet(QWidget* widget);

// A list or table that, when the focus comes into it, says its current item as a screen reader's
// focus (the toolkit names only the list, "List with 2 items", and not the student selected there);
// the current item moving by keys is said by the toolkit itself.
void SpeakCurrentItemOnFocus(QAbstractItemView* view);

// A password box: stars whatever the style's own character, and no more characters than the access
// dialog lets anyone type, so that every saved password can be typed there.
QLineEdit* MakePasswordBox(QWidget* parent, const char* name, const QRect& place, const QLabel* label);
