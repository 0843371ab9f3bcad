#pragma once
#include <QDialog>
#include <QList>
#include <QString>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TBalloonHint;
class TBlinkingLabel;

// The lesson catalogue of one student: the 24 lessons, which of them may be taken, the course
// totals and the totals of the selected lesson; it starts lessons.
class TfrmAulas : public QDialog {
    Q_OBJECT
public:
    TfrmAulas();

    QString Hint; // the current student's profile path, set by the roster

    QPushButton* btnSobre; // the About button, on a strip above the designed client area
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* lbl1; // TempoTotal
    QLabel* lbl2; // WordOK
    QLabel* lbl3; // WordErr
    QLabel* lbl4; // CharOK
    QLabel* lbl5; // CharErr
    QLabel* lbl6; // Porcent + "%"
    QLabel* Image1;
    QGroupBox* lstAula; // 24 options in two columns
    QList<QRadioButton*> lstAulaItems;
    QPushButton* btnFazerAula;
    QGroupBox* GroupBox2;
    TBlinkingLabel* JvBlinkingLabel1;
    QWidget* pnlDatAula;
    QLabel* lbla1; // WordOK
    QLabel* lbla2; // WordErr
    QLabel* lbla3; // CharOK
    QLabel* lbla4; // CharErr
    QLabel* lbla5; // TempoTotal
    QLabel* lbla6; // Porcent + "%"
    QPushButton* btnDiploma;
    QPushButton* BitBtn3;
    TBalloonHint* ohint;

    // The selected lesson index, 0 to 23, or -1.
    int ItemIndex() const;
    // As a pick by the user when it changes the selection (lstAulaClick runs); -1 clears it without
    // running the handler; values below -1 count as -1, above 23 as 23.
    void SetItemIndex(int index);

    void FormCreate();
    void FormActivate();
    void lstAulaClick();
    void btnFazerAulaClick(); // the lesson loader
    void btnDiplomaClick();
    void BitBtn3Click();
    void btnSobreClick();
    void FormCloseQuery();
    // After a window shown over this one has closed.
    void ReclaimActivation();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void fitFonts();
    void showBalloon(const QString& title, const QString& text);
    void pickedByUser(int index);
    QButtonGroup* m_group;
    int m_index = -1;
    bool m_returningFromBox = false;
    QString m_pendingTitle;
    QString m_pendingText;
    bool m_fontsFitted = false;
};

extern TfrmAulas* frmAulas;

// The profile of the student whose course is open: the roster's selected student, or the path the
// catalogue keeps when the roster has none.
QString CurrentStudentProfile();
