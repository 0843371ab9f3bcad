#pragma once

class QPrintPreviewDialog;

// Inside the printing module, for each of its previews: shows `preview` with its print button
// reachable by Tab, focused, and on Ctrl+P, and returns when it has been closed.
void ShowPreviewByKeys(QPrintPreviewDialog& preview);
