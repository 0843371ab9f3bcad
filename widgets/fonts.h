#pragma once

// Maps the font names the windows were designed with to look-alikes that this system has
// ("Comic Sans MS", "MS Sans Serif", "Terminal", "Courier New", "Arial", "Signature", "Typewriter").
void InstallFontSubstitutes();
