#pragma once
#include <QDialog>

// The typing exercise.
class TfrmExec : public QDialog {
    Q_OBJECT
public:
    TfrmExec();
};

extern TfrmExec* frmExec;
