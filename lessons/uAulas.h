#pragma once
#include <QDialog>

// The lesson catalogue of one student.
class TfrmAulas : public QDialog {
    Q_OBJECT
public:
    TfrmAulas();

    QString Hint; // the current student's profile path, set by the roster

    void lstAulaClick();
};

extern TfrmAulas* frmAulas;
