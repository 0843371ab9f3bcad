#include "modules/print/previewByKeys.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeySequence>
#include <QPrintPreviewDialog>
#include <QToolBar>
#include <QToolButton>

namespace {
// The preview's toolbar buttons take no keyboard focus and print has no key: the print button is
// made reachable by Tab, focused first (Space prints, a screen reader names it) and put on Ctrl+P.
QWidget* PrintByKeys(QPrintPreviewDialog& preview) {
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QToolBar* bar : preview.findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            if (action->text() != print)
                continue;
            action->setShortcut(QKeySequence::Print);
            action->setShortcutContext(Qt::WindowShortcut);
            if (QWidget* button = bar->widgetForAction(action)) {
                button->setObjectName(QStringLiteral("btnPrint"));
                button->setFocusPolicy(Qt::StrongFocus);
                button->setAccessibleName(action->text());
                return button;
            }
            return nullptr;
        }
    }
    return nullptr;
}
} // namespace

void ShowPreviewByKeys(QPrintPreviewDialog& preview) {
    QWidget* print = PrintByKeys(preview);
    QEventLoop wait;
    QObject::connect(&preview, &QDialog::finished, &wait, &QEventLoop::quit);
    preview.show();
    if (print)
        print->setFocus(Qt::OtherFocusReason);
    wait.exec();
}
