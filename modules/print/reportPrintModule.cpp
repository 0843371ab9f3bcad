// The class report's print preview, in the printing module beside the diploma's.
#include "modules/print/previewByKeys.h"
#include "modules/print/printModule.h"

#include <QString>

#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT void vtRunReportPreview(const ReportPagesPainter& paint, QWidget* parent,
                                                 const QString& docName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setDocName(docName);

    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("reportPreview"));
    preview.setWindowTitle(QStringLiteral("Imprimir: ") + docName);
    preview.setWindowModality(Qt::NonModal);
    preview.resize(1000, 760);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        QPainter painter(target);
        paint(painter, *target);
    });
    ShowPreviewByKeys(preview);
}
