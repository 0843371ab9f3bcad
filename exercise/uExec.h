#pragma once
#include "widgets/deferredControls.h"

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

    QLabel* pnlNomeAluno = nullptr;          // banner: "<N>ª Aula (<student>)"
    TBlinkingLabel* lblMes = nullptr;        // the message line
    QFrame* Panel1 = nullptr;                // frames the picture
    QLabel* imgAula = nullptr;               // the lesson picture
    QLabel* pnlTitulo = nullptr;             // the lesson title
    QPlainTextEdit* txtAulaDescri = nullptr; // the lesson description
    QPlainTextEdit* txtRes = nullptr;        // the statistics block
    QProgressBar* barD = nullptr;            // minimum percentage
    QProgressBar* bar = nullptr;             // right percentage
    QPlainTextEdit* txtUserKey = nullptr;    // echo of the typed keys
    QTimer* tmrTempo = nullptr;              // the exercise clock

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
    void appendEcho(std::uint16_t key);
    void showStatistics();
    void fitStatisticsFont();
    QString m_statistics;
    bool m_waiting = true; // shown by the loader, start key not pressed yet
    QSize m_designed;      // the designed client size, scaled
};

extern TfrmExec* frmExec;
