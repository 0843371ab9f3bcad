// The printing module: Qt Print Support is loaded only with it, on the first diploma.
#include "modules/print/previewByKeys.h"
#include "modules/print/printModule.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

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
