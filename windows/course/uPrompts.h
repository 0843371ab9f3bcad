#pragma once
#include <QString>
#include <functional>

class QMessageBox;

// Yes/no questions, modal to the whole program, buttons in the system's language.
// AskYesNo has "No" as its default button (Enter answers no); ConfirmExit has "Yes".
bool AskYesNo(const QString& question);
bool ConfirmExit();

// The boxes themselves, for whoever needs to look at them (tests).
inline constexpr const char* kAskYesNoTitle = "Escolha SIM ou NAO";
QString ConfirmExitTitle();
QString ConfirmExitText();

// For tests: while set, questions are answered by this instead of a box. Arguments: title, text,
// whether yes is the default button.
using PromptAnswerer = std::function<bool(const QString&, const QString&, bool)>;
void SetPromptAnswerer(PromptAnswerer answerer);
