#pragma once
#include "core/exercise/echo.h"
#include "windows/widgets/deferredControls.h"

#include <QDialog>
#include <QRect>
#include <cstdint>

class QLabel;
class QFrame;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class TBlinkingLabel;

// The typing exercise: full screen, it sees every key before its controls (Tab included), judges the
// keys against the lesson and runs the clock.
class TfrmExec : public DeferredControls<QDialog> {
    Q_OBJECT
public:
    TfrmExec();

    TControl<QLabel> pnlNomeAluno{this};          // banner: "<N>ª Aula (<student>)"
    TControl<TBlinkingLabel> lblMes{this};        // the message line
    TControl<QFrame> Panel1{this};                // frames the picture
    TControl<QLabel> imgAula{this};               // the lesson picture
    TControl<QLabel> pnlTitulo{this};             // the lesson title
    TControl<QPlainTextEdit> txtAulaDescri{this}; // the lesson description
    TControl<QPlainTextEdit> txtRes{this};        // the statistics block
    TControl<QProgressBar> barD{this};            // minimum percentage
    TControl<QProgressBar> bar{this};             // right percentage
    TControl<QPlainTextEdit> txtUserKey{this};    // echo of the typed keys
    TControl<QTimer> tmrTempo{this};              // the exercise clock

    // Alternates on every wrong word of the run and picks the wrong-word sound; never reset.
    std::int32_t WrongWordToggle = 0;

    // The statistics block exactly as last written (lines joined by CR LF), for the result window.
    QString StatisticsText() const { return m_statistics; }

    void FormActivate();
    void FormKeyDown(std::uint16_t key);
    void FormCloseQuery();
    void tmrTempoTimer();

    void JudgeKey(std::uint16_t key);
    void JudgeWord(std::uint8_t code);
    void RefreshStatistics();
    void CheckLessonEnd();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void BuildControls() override;
    void startExercise();
    void layOut();
    void appendEcho(std::uint16_t key, const TEchoVerdict& verdict);
    int echoColumns() const;
    void showStatistics();
    void fitStatisticsFont();
    int statisticsWidth() const; // the statistics box's width for its longest line in the designed face
    QString m_statistics;
    bool m_waiting = true;   // shown by the loader, start key not pressed yet
    bool m_shifted = false;  // Shift was down with the last key, for the echo
    bool m_capsLock = false; // Caps Lock was on with the last key, for the echo
    TEcho m_echo;            // what the echo box holds, as the keyboard wrote it
    QSize m_designed;        // the designed client size, scaled
};

extern TfrmExec* frmExec;
