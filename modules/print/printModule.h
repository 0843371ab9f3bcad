#pragma once
#include <functional>

class QPagedPaintDevice;
class QPainter;
class QString;
class QWidget;

// What the printing module offers the programs, each function looked up by name on its first use.
// The module knows nothing else of them: it only paints what it is handed.
inline constexpr const char* kPrintModule = "vtprint";

// The diploma, when the first one is shown.
using DiplomaPagePainter = std::function<void(QPainter&)>;
// Shows the print preview of the page (A4 portrait, 10 mm margins, one copy) without blocking
// `parent`, and returns when the preview has been closed.
using RunDiplomaPreviewFn = void (*)(const DiplomaPagePainter& paint, QWidget* parent);
inline constexpr const char* kRunDiplomaPreview = "vtRunDiplomaPreview";

// The class report's pages.
using ReportPagesPainter = std::function<void(QPainter&, QPagedPaintDevice&)>;
// Shows the print preview (A4 landscape, 10 mm margins) without blocking `parent`, and returns when it
// has been closed.
using RunReportPreviewFn = void (*)(const ReportPagesPainter& paint, QWidget* parent, const QString& docName);
inline constexpr const char* kRunReportPreview = "vtRunReportPreview";
