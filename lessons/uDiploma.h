#pragma once
#include <QWidget>

// The diploma report.
class TfrmDiploma : public QWidget {
    Q_OBJECT
public:
    TfrmDiploma();
};

extern TfrmDiploma* frmDiploma;
