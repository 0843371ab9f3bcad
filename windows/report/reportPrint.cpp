#include "windows/report/reportPrint.h"

#include "core/platform/vtError.h"
#include "modules/print/printModule.h"
#include "windows/glue/moduleLoader.h"
#include "windows/widgets/qtText.h"

#include <QChart>
#include <QDate>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {

QFont sized(double points, bool bold, QPaintDevice* device) {
    QFont f(QStringLiteral("Arial"), 10, bold ? QFont::Bold : QFont::Normal);
    f.setPointSizeF(points);
    return QFont(f, device); // sized for the device's resolution
}

// The page in device units, worked out once for a device.
struct Layout {
    double perMm = 1;
    double width = 0;
    double height = 0;
    double rowHeight = 0;
    double headerRowHeight = 0;
    double introHeight = 0; // title and lines, first page only
    double footerHeight = 0;
    int firstPageRows = 1;
    int otherPageRows = 1;
    int tablePages = 1;
    int pages = 1;
};

Layout layoutOf(QPainter& painter, QPagedPaintDevice& device, const TPrintedReport& report) {
    Layout l;
    l.perMm = device.logicalDpiX() / 25.4;
    l.width = device.width();
    l.height = device.height();
    painter.setFont(sized(8, false, &device));
    const double line = painter.fontMetrics().height();
    l.rowHeight = line * 1.35;
    // Tall enough for the longest heading wrapped in its column ("Aulas aprovadas no período").
    l.headerRowHeight = line * 2.6;
    painter.setFont(sized(8, true, &device));
    double total = 0;
    for (double w : report.Widths)
        total += w;
    for (int c = 0; c < report.Headers.size(); ++c) {
        const double width = l.width * report.Widths.value(c, 1) / std::max(total, 1.0) - 1.6 * l.perMm;
        const QRectF need = painter.boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e6),
                                                 Qt::AlignLeft | Qt::TextWordWrap, report.Headers[c]);
        l.headerRowHeight = std::max(l.headerRowHeight, need.height() + line * 0.4);
    }
    painter.setFont(sized(14, true, &device));
    l.introHeight = painter.fontMetrics().height() * 1.6;
    painter.setFont(sized(9, false, &device));
    l.introHeight += painter.fontMetrics().height() * 1.25 * report.Lines.size() + 3 * l.perMm;
    l.footerHeight = 8 * l.perMm;
    const double body = l.height - l.footerHeight - l.headerRowHeight;
    l.firstPageRows = std::max(1, static_cast<int>((body - l.introHeight) / l.rowHeight));
    l.otherPageRows = std::max(1, static_cast<int>(body / l.rowHeight));
    const int rows = static_cast<int>(report.Rows.size());
    l.tablePages = 1;
    if (rows > l.firstPageRows)
        l.tablePages += (rows - l.firstPageRows + l.otherPageRows - 1) / l.otherPageRows;
    l.pages = l.tablePages + (report.Charts.isEmpty() ? 0 : 1);
    return l;
}

void paintFooter(QPainter& painter, QPaintDevice* device, const Layout& l, const TPrintedReport& report,
                 int page) {
    painter.setFont(sized(7, false, device));
    painter.setPen(Qt::darkGray);
    const QRectF box(0, l.height - l.footerHeight * 0.7, l.width, l.footerHeight * 0.7);
    painter.drawLine(QPointF(0, box.top()), QPointF(l.width, box.top()));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Velotecla — ") + report.Title + QStringLiteral(" — ") +
                         QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Página %1 de %2").arg(page).arg(l.pages));
}

// The table's rows [first, last) from the top given; answers where the table ends.
double paintRows(QPainter& painter, QPaintDevice* device, const Layout& l, const TPrintedReport& report,
                 double top, int first, int last) {
    double total = 0;
    for (double w : report.Widths)
        total += w;
    QList<double> x{0};
    for (int c = 0; c < report.Headers.size(); ++c)
        x << x.last() + l.width * report.Widths.value(c, 1) / std::max(total, 1.0);
    const double pad = 0.8 * l.perMm;
    QPen grid(QColor(0x90, 0x90, 0x90));
    grid.setWidthF(0.15 * l.perMm);

    painter.setFont(sized(8, true, device));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xE4, 0xE8, 0xF0));
    painter.drawRect(QRectF(0, top, l.width, l.headerRowHeight));
    painter.setPen(Qt::black);
    for (int c = 0; c < report.Headers.size(); ++c)
        painter.drawText(QRectF(x[c] + pad, top, x[c + 1] - x[c] - 2 * pad, l.headerRowHeight),
                         Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, report.Headers[c]);
    double y = top + l.headerRowHeight;
    painter.setFont(sized(8, false, device));
    for (int r = first; r < last; ++r) {
        const auto& row = report.Rows[static_cast<std::size_t>(r)];
        if ((r - first) % 2 == 1) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xF5, 0xF5, 0xF5));
            painter.drawRect(QRectF(0, y, l.width, l.rowHeight));
        }
        painter.setPen(Qt::black);
        for (int c = 0; c < report.Headers.size() && c < static_cast<int>(row.size()); ++c) {
            const TReportCell& cell = row[static_cast<std::size_t>(c)];
            const QRectF box(x[c] + pad, y, x[c + 1] - x[c] - 2 * pad, l.rowHeight);
            // The window's tint behind a figure held against its goal (the figure says it too).
            if (cell.Mark != TGoalMark::None) {
                painter.fillRect(QRectF(x[c], y, x[c + 1] - x[c], l.rowHeight),
                                 cell.Mark == TGoalMark::Below ? QColor(0xF6, 0xC9, 0xC4)
                                 : cell.Mark == TGoalMark::At  ? QColor(0xFB, 0xE7, 0xA8)
                                                               : QColor(0xC8, 0xE6, 0xC9));
            }
            const QString text = painter.fontMetrics().elidedText(FromUtf8(cell.Text), Qt::ElideRight,
                                                                  static_cast<int>(box.width()));
            painter.drawText(box, Qt::AlignVCenter | (AlignedRight(cell) ? Qt::AlignRight : Qt::AlignLeft),
                             text);
        }
        y += l.rowHeight;
    }
    painter.setPen(grid);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(0, top), QPointF(l.width, top));
    painter.drawLine(QPointF(0, top + l.headerRowHeight), QPointF(l.width, top + l.headerRowHeight));
    painter.drawLine(QPointF(0, y), QPointF(l.width, y));
    for (double xi : x)
        painter.drawLine(QPointF(std::min(xi, l.width), top), QPointF(std::min(xi, l.width), y));
    return y;
}

} // namespace

void PaintReport(QPainter& painter, QPagedPaintDevice& device, const TPrintedReport& report) {
    const Layout l = layoutOf(painter, device, report);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // First page: title and lines.
    double y = 0;
    painter.setPen(Qt::black);
    painter.setFont(sized(14, true, &device));
    const double titleHeight = painter.fontMetrics().height() * 1.6;
    painter.drawText(QRectF(0, 0, l.width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, report.Title);
    y += titleHeight;
    painter.setFont(sized(9, false, &device));
    const double lineHeight = painter.fontMetrics().height() * 1.25;
    for (const QString& line : report.Lines) {
        painter.drawText(QRectF(0, y, l.width, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineHeight;
    }
    y = l.introHeight;

    const int rows = static_cast<int>(report.Rows.size());
    int next = 0;
    for (int page = 1; page <= l.tablePages; ++page) {
        if (page > 1) {
            device.newPage();
            y = 0;
        }
        const int count = page == 1 ? l.firstPageRows : l.otherPageRows;
        const int last = std::min(rows, next + count);
        paintRows(painter, &device, l, report, y, next, last);
        next = last;
        paintFooter(painter, &device, l, report, page);
    }

    if (!report.Charts.isEmpty()) {
        device.newPage();
        const double gap = 4 * l.perMm;
        const double area = l.height - l.footerHeight - gap;
        const double each = (area - gap * (report.Charts.size() - 1)) / report.Charts.size();
        double top = 0;
        for (QChart* chart : report.Charts) {
            // Drawn from the chart's own scene, so it stays sharp at the printer's resolution; laid out
            // for the page's shape for the while, then given back its size on screen.
            const QRectF target(0, top, l.width, each);
            if (QGraphicsScene* scene = chart->scene()) {
                const QSizeF onScreen = chart->size();
                chart->resize(QSizeF(1000, 1000 * each / l.width));
                if (QGraphicsLayout* layout = chart->layout())
                    layout->activate();
                scene->render(&painter, target, chart->sceneBoundingRect(), Qt::KeepAspectRatio);
                chart->resize(onScreen);
                if (QGraphicsLayout* layout = chart->layout())
                    layout->activate();
            }
            top += each + gap;
        }
        paintFooter(painter, &device, l, report, l.pages);
    }
    painter.restore();
}

void ShowReportPreview(const TPrintedReport& report, QWidget* parent) {
    const auto run =
        reinterpret_cast<RunReportPreviewFn>(ResolveModuleFunction(kPrintModule, kRunReportPreview));
    if (!run)
        throw VtError("O módulo de impressão (vtprint) não foi encontrado ao lado do programa");
    run([&report](QPainter& painter, QPagedPaintDevice& device) { PaintReport(painter, device, report); },
        parent, report.Title);
}

bool WriteReportPdf(const TPrintedReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(report.Title);
    writer.setCreator(QStringLiteral("Velotecla"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PaintReport(painter, writer, report);
    return painter.end();
}
