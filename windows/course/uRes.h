#pragma once
#include <QDialog>
#include <cstdint>
#include <string>

class QLabel;
class TBlinkingLabel;
class TShape;

// The result of a finished exercise: the verdict, the next lesson unlocked, the totals added up.
// Only Enter closes it.
class TfrmRes : public QDialog {
    Q_OBJECT
public:
    TfrmRes();

    TShape* Shape1;        // frame
    QLabel* StaticText1;   // "Resultados da Aula"
    QLabel* lblRes;        // the statistics block
    TBlinkingLabel* lblOK; // the verdict
    QLabel* StaticText3;   // "Tecle <ENTER> para Sair"
    QLabel* lblStore;      // below the rest, shown only when the exercise was not wholly kept: what and why
    QLabel* lblTeclas;     // below the designed ones: the three keys missed most in this exercise

    void FormActivate();
    void FormKeyDown(std::uint16_t key);
    void FormCloseQuery();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void placeOnScreen();                       // centred across, 50 px from the top
    void showStoreProblem(const QString& text); // grows the window by a line under the designed controls
    bool m_activated = false;                   // the verdict and the totals once per showing
    quint64 m_releasedAt = 0; // the time stamp and physical key of the last key that went up
    quint32 m_releasedScanCode = 0;
};

extern TfrmRes* frmRes;
