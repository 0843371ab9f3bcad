#pragma once

// What every window of the program's programs needs from the toolkit as a whole, set once after the
// application object is made:
// - the toolkit's own texts (standard buttons, the print preview, file and print dialogs) in
//   Brazilian Portuguese whatever the system's language;
// - a key held down while its window closes acts no more: its repetitions never reach the window
//   that becomes active;
// - Alt with a letter never types into a text box (AltTypesNothing).
void InstallDesktopManners();

class QObject;
class QKeyEvent;
// True (and the key taken) for a key press with Alt that a text box would type as its letter.
bool AltTypesNothing(QObject* target, QKeyEvent* key);
