#pragma once
#include "core/report/classReport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QChart;
class QPagedPaintDevice;
class QPainter;
class QWidget;

// A report as it goes on paper: a title, a few lines under it, a table that runs over as many pages as
// it needs (its header repeated on each), then the charts, one page for them all. One paint routine
// serves the preview, the printer, a PDF and the tests' images alike.
struct TPrintedReport {
    QString Title;
    QStringList Lines;
    QStringList Headers;
    std::vector<std::vector<TReportCell>> Rows;
    QList<double> Widths; // relative widths of the columns
    QList<QChart*> Charts;
};

// Paints every page on a device whose origin is the corner of the printable area (A4 landscape).
void PaintReport(QPainter& painter, QPagedPaintDevice& device, const TPrintedReport& report);

// Through the printing module, loaded on first use: the print preview, printed from there, returning
// when it is closed. Raises when the module is missing.
void ShowReportPreview(const TPrintedReport& report, QWidget* parent);
// A PDF of the report; false when the file cannot be written.
bool WriteReportPdf(const TPrintedReport& report, const QString& path);
