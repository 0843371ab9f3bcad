#pragma once
#include <QString>
#include <exception>
#include <functional>

class QWidget;

// "Velotecla - Curso de Datilografia by tavoli": the task-bar entry and the title of every message.
QString ApplicationTitle();

// The standard error box: the error's text, with a full stop added when its last character comes
// after "." in character order; error icon, OK button, titled with the application title.
QString ErrorBoxText(const QString& errorText);
void ShowErrorBox(const QString& errorText);
// A plain message with an OK button.
void ShowMessage(const QString& text);
// The same under a title of its own (a notice a script or a technician looks for by its name).
void ShowMessage(const QString& text, const QString& title);

// Runs a handler body so that no exception ever reaches Qt's own frames: whatever escapes is shown
// in the standard error box, and the program goes on with the next event.
void ShowCurrentException(const std::exception_ptr& error) noexcept;
template <class F> void Guard(F&& body) noexcept {
    try {
        body();
    } catch (...) {
        ShowCurrentException(std::current_exception());
    }
}

// For tests: while set, messages and errors go here instead of to a modal box.
struct MessageSink {
    std::function<void(const QString&)> error;
    std::function<void(const QString&)> message;
};
void SetMessageSink(const MessageSink* sink);

// The box's parent: the modal window on top, else the active window.
QWidget* MessageParent();
// Keeps a box above a topmost parent.
void KeepAboveParent(QWidget* box);

// Loads the toolkit's own texts in Brazilian Portuguese (whatever the system's language), once: at
// start-up, or before the first box.
void EnsureToolkitTranslations();
