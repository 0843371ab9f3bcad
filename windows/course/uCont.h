#pragma once
#include <QDialog>
#include <cstdint>

class QLabel;
class QTimer;
class TShape;

// The 3-2-1 countdown before an exercise. It has no key handling: keys pressed meanwhile do nothing.
class TfrmCont : public QDialog {
    Q_OBJECT
public:
    TfrmCont();

    TShape* Shape1;  // frame
    QLabel* Label1;  // "Contagem Regressiva", the maroon shadow
    QLabel* Label2;  // "Contagem Regressiva", white
    QLabel* lblcont; // the digit
    QTimer* tmrCont; // the tick

    std::int32_t Countdown = 3; // the value shown

    void tmrContTimer();
    // Names the window after the number shown, for screen readers.
    void announce();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
};

extern TfrmCont* frmCont;

// Counts down modally, then gives the input focus back to the exercise window.
void RunCountdown(QWidget* exerciseWindow);
