#pragma once
#include <QWidget>
#include <cstdint>

// The on-screen keyboard that floats above the exercise window.
class TfrmKey : public QWidget {
    Q_OBJECT
public:
    TfrmKey();
};

extern TfrmKey* frmKey;

void ShowKeyboard(int left, int top, QWidget* exerciseWindow);
void HideKeyboard();
void FlashKey(std::uint16_t keyCode);
