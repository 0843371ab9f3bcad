#include "windows/widgets/messages.h"

#include "core/platform/vtError.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace {
const MessageSink* g_sink = nullptr;

} // namespace

QString ApplicationTitle() {
    return QStringLiteral("Velotecla - Curso de Datilografia by tavoli");
}

QString ErrorBoxText(const QString& errorText) {
    if (!errorText.isEmpty() && errorText.back() > QLatin1Char('.'))
        return errorText + QLatin1Char('.');
    return errorText;
}

void SetMessageSink(const MessageSink* sink) {
    g_sink = sink;
}

QWidget* MessageParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // Nothing is active yet (the splash never takes the activation): the box belongs to the
    // window on screen, a topmost one first, so that the window manager stacks it above that.
    QWidget* chosen = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::ToolTip)
            continue;
        if (!chosen || (window->windowFlags() & Qt::WindowStaysOnTopHint))
            chosen = window;
    }
    return chosen;
}

void KeepAboveParent(QWidget* box) {
    // A topmost parent (the splash, the result window) would otherwise stay above its own box.
    if (QWidget* parent = box->parentWidget(); parent && (parent->windowFlags() & Qt::WindowStaysOnTopHint))
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void EnsureToolkitTranslations() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Portuguese whatever the system's language: the program speaks only Portuguese, and a lab's
    // machines are often set to English or to no language at all. Debian ships the file in
    // qt6-translations-l10n.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

namespace {
// A box with the program's title and an OK button, or the sink that stands in for boxes.
void showBox(QMessageBox::Icon icon, const QString& text, const std::function<void(const QString&)>* sink,
             const QString& title = ApplicationTitle()) {
    if (sink && *sink) {
        (*sink)(text);
        return;
    }
    EnsureToolkitTranslations();
    QMessageBox box(icon, title, ShownLines(text), QMessageBox::Ok, MessageParent());
    box.setTextFormat(Qt::PlainText); // names and values from files in the text
    KeepAboveParent(&box);
    GiveOwnCaption(&box);
    box.exec();
}
} // namespace

void ShowErrorBox(const QString& errorText) {
    showBox(QMessageBox::Critical, ErrorBoxText(errorText), g_sink ? &g_sink->error : nullptr);
}

void ShowMessage(const QString& text) {
    showBox(QMessageBox::NoIcon, text, g_sink ? &g_sink->message : nullptr);
}

void ShowMessage(const QString& text, const QString& title) {
    showBox(QMessageBox::NoIcon, text, g_sink ? &g_sink->message : nullptr, title);
}

void ShowCurrentException(const std::exception_ptr& error) noexcept {
    try {
        try {
            std::rethrow_exception(error);
        } catch (const std::bad_alloc&) {
            ShowErrorBox(QStringLiteral("Out of memory"));
        } catch (const std::exception& e) {
            ShowErrorBox(QString::fromUtf8(e.what()));
        } catch (...) {
            ShowErrorBox(QStringLiteral("Unknown error"));
        }
    } catch (...) {
        // Showing the box failed too; there is nothing left to tell the user with.
    }
}
