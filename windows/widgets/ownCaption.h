#pragma once

class QWidget;

// Windows designed with a caption but without caption-bar buttons. Under X11 the window manager
// draws the caption, and some (openbox) add minimise, maximise, close and a window menu whatever
// the hints ask; there such a window goes undecorated and draws its caption itself, a strip above
// its designed client area that moves the window when dragged. Elsewhere (Windows honours the
// hints; offscreen there is no caption) nothing changes.
bool DrawsOwnCaption();
// Call once the window's controls exist and before it is first shown.
void GiveOwnCaption(QWidget* window);
