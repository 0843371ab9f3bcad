#pragma once
#include <QDialog>

class QLabel;
class QFrame;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class TBlinkingLabel;

// The typing exercise.
class TfrmExec : public QDialog {
    Q_OBJECT
public:
    TfrmExec();

    QLabel* pnlNomeAluno;         // banner: "<N>ª Aula (<student>)"
    TBlinkingLabel* lblMes;       // the message line
    QFrame* Panel1;               // frames the picture
    QLabel* imgAula;              // the lesson picture
    QLabel* pnlTitulo;            // the lesson title
    QPlainTextEdit* txtAulaDescri; // the lesson description
    QPlainTextEdit* txtRes;       // the statistics block
    QProgressBar* barD;           // minimum percentage
    QProgressBar* bar;            // right percentage
    QPlainTextEdit* txtUserKey;   // echo of the typed keys
    QTimer* tmrTempo;             // the exercise clock
};

extern TfrmExec* frmExec;
