#include "exercise/uKey.h"

TfrmKey* frmKey = nullptr;

TfrmKey::TfrmKey() { setObjectName(QStringLiteral("frmKey")); }

void ShowKeyboard(int, int, QWidget*) {}
void HideKeyboard() {}
void FlashKey(std::uint16_t) {}
