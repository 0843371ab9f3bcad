#include "windows/course/uPrompts.h"

#include "windows/widgets/messages.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/qtText.h"

#include <QMessageBox>

namespace {
PromptAnswerer g_answerer;

bool ask(const QString& title, const QString& text, bool yesIsDefault) {
    if (g_answerer)
        return g_answerer(title, text, yesIsDefault);
    EnsureToolkitTranslations();
    QMessageBox box(QMessageBox::NoIcon, title, ShownLines(text), QMessageBox::Yes | QMessageBox::No,
                    MessageParent());
    box.setTextFormat(Qt::PlainText); // a machine's name from a shared file, a student's name
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    // Closing the box any other way (Esc, the close button) counts as "no".
    box.setEscapeButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    KeepAboveParent(&box);
    GiveOwnCaption(&box);
    return box.exec() == QMessageBox::Yes;
}
} // namespace

void SetPromptAnswerer(PromptAnswerer answerer) {
    g_answerer = std::move(answerer);
}

QString ConfirmExitTitle() {
    return QStringLiteral("  !!!   Saindo do Aplicativo   !!!  ");
}

QString ConfirmExitText() {
    return QStringLiteral("          !!! Você esta fechando este aplicativo !!!          \r\n\r\n"
                          "                   Deseja realmente sair?");
}

bool AskYesNo(const QString& question) {
    // The question holds at most 255 characters; a longer one is cut there.
    return ask(QString::fromLatin1(kAskYesNoTitle), question.left(255), false);
}

bool ConfirmExit() {
    return ask(ConfirmExitTitle(), ConfirmExitText(), true);
}
