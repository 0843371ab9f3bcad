// The printing module: Qt Print Support is loaded only with it, on the first diploma.
#include "lessons/diplomaModule.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeySequence>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
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

extern "C" Q_DECL_EXPORT void vtRunDiplomaPreview(const DiplomaPagePainter& paint, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPaperSource(QPrinter::Auto);
    printer.setDocName(QStringLiteral("Diploma de Digitação"));

    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("diplomaPreview"));
    preview.setWindowModality(Qt::NonModal);
    preview.resize(800, 900);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        QPainter painter(target);
        paint(painter);
    });
    ShowPreviewByKeys(preview);
}
