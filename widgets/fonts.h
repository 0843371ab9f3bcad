#pragma once

// Maps the font names the windows were designed with to look-alikes that this system has
// ("Comic Sans MS", "MS Sans Serif", "Terminal", "Courier New", "Arial", "Signature", "Typewriter").
void InstallFontSubstitutes();

// Fontconfig reads and parses its whole configuration the first time any text is measured or
// drawn: the largest single piece of the work before the splash's picture is on screen. Begun first
// thing in main, that work runs on a thread of its own while the toolkit starts up; the window set
// waits for it (FinishFontWarmUp) just before the splash is shown. Nothing happens on systems
// without fontconfig, and waiting when nothing was begun returns at once.
void BeginFontWarmUp();
void FinishFontWarmUp();
