#pragma once
#include <QDialog>

// The result of a finished exercise.
class TfrmRes : public QDialog {
    Q_OBJECT
public:
    TfrmRes();
};

extern TfrmRes* frmRes;
