#pragma once
#include <QWidget>

// The diploma report.
class TfrmDiploma : public QWidget {
    Q_OBJECT
public:
    TfrmDiploma();
};

extern TfrmDiploma* frmDiploma;

// Shows the diploma of the catalogue's student in a print preview and waits for it to close.
void ShowDiploma();
