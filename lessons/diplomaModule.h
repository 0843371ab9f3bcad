#pragma once
#include <functional>

class QPainter;
class QPrintPreviewDialog;
class QWidget;

// What the printing module offers the program, looked up by name when the first diploma is shown.
using DiplomaPagePainter = std::function<void(QPainter&)>;
// Shows the print preview of the page (A4 portrait, 10 mm margins, one copy) without blocking
// `parent`, and returns when the preview has been closed.
using RunDiplomaPreviewFn = void (*)(const DiplomaPagePainter& paint, QWidget* parent);
inline constexpr const char* kPrintModule = "vtprint";
inline constexpr const char* kRunDiplomaPreview = "vtRunDiplomaPreview";

// Inside the printing module, for each of its previews: shows `preview` with its print button
// reachable by Tab, focused, and on Ctrl+P, and returns when it has been closed.
void ShowPreviewByKeys(QPrintPreviewDialog& preview);
