#pragma once
#include <QDialog>

// The 3-2-1 countdown before an exercise.
class TfrmCont : public QDialog {
    Q_OBJECT
public:
    TfrmCont();
};

extern TfrmCont* frmCont;

void RunCountdown(QWidget* exerciseWindow);
