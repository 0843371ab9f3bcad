#pragma once
#include <QDialog>

// The lesson catalogue of one student.
class TfrmAulas : public QDialog {
    Q_OBJECT
public:
    TfrmAulas();

    QString Hint; // the current student's profile path, set by the roster

    void lstAulaClick();

    // The selected lesson's index, 0 to 23, or -1 for none (lesson number N = index + 1).
    int Selection() const { return m_selection; }
    void SetSelection(int index);
    // The activation handler: course totals shown again, the stored selection restored.
    void FormActivate();

private:
    int m_selection = -1;
};

extern TfrmAulas* frmAulas;
