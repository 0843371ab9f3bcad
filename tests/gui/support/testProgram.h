#pragma once
#include "windows/widgets/messages.h"

#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>

// The first line of a slow test function: it runs only under ctest's label "slow" (make test), which
// sets VT_SLOW_TESTS and names the function; make check's run skips it.
#define VT_SLOW_TEST()                                                                                       \
    if (!qEnvironmentVariableIsSet("VT_SLOW_TESTS"))                                                         \
    QSKIP("slow: run by ctest -L slow")

// A program folder of its own for a window test: a temporary folder set as the program folder, with
// the built data copied in when asked; messages, errors and yes/no questions are recorded instead of
// shown, and questions are answered from a queue (no when it is empty).
class TestProgram {
public:
    explicit TestProgram(bool withData = false);
    ~TestProgram();
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    QString folder() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes a file (bytes as given) below the program folder, making folders as needed.
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relative) const;

    // Makes the whole window set as start-up does (the splash shown, the roster made).
    void createWindows();

    QStringList errors;
    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;

private:
    QTemporaryDir m_dir;
    MessageSink m_sink;
    bool m_windows = false;
};

// Waits until a modal window other than `except` is up, then runs action on it. Arm it before the
// call that blocks.
void WhenModal(const std::function<void(QWidget*)>& action, QWidget* except = nullptr, int timeoutMs = 5000);
