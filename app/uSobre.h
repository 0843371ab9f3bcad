#pragma once
#include <QDialog>

// The About box.
class TfrmSobre : public QDialog {
    Q_OBJECT
public:
    TfrmSobre();
};

extern TfrmSobre* frmSobre;
