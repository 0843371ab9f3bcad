#pragma once
#include "widgets/deferredControls.h"

#include <QDialog>
#include <QImage>
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
class TfrmAulas : public DeferredControls<QDialog> {
    Q_OBJECT
public:
    TfrmAulas();

    QString Hint; // the current student's profile path, set by the roster

    QPushButton* btnSobre = nullptr; // the About button, on a strip above the designed client area
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* lbl1 = nullptr; // TempoTotal
    QLabel* lbl2 = nullptr; // WordOK
    QLabel* lbl3 = nullptr; // WordErr
    QLabel* lbl4 = nullptr; // CharOK
    QLabel* lbl5 = nullptr; // CharErr
    QLabel* lbl6 = nullptr; // Porcent + "%"
    QLabel* Image1 = nullptr;
    QGroupBox* lstAula = nullptr; // 24 options in two columns
    QList<QRadioButton*> lstAulaItems;
    QPushButton* btnFazerAula = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    TBlinkingLabel* JvBlinkingLabel1 = nullptr;
    QWidget* pnlDatAula = nullptr;
    QLabel* lbla1 = nullptr; // WordOK
    QLabel* lbla2 = nullptr; // WordErr
    QLabel* lbla3 = nullptr; // CharOK
    QLabel* lbla4 = nullptr; // CharErr
    QLabel* lbla5 = nullptr; // TempoTotal
    QLabel* lbla6 = nullptr; // Porcent + "%"
    QPushButton* btnDiploma = nullptr;
    QPushButton* BitBtn3 = nullptr;
    TBalloonHint* ohint = nullptr;

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
    void BuildControls() override;
    QButtonGroup* m_group = nullptr;
    QImage m_picture; // loaded at creation, until the controls are made
    int m_index = -1;
    bool m_returningFromBox = false;
    QString m_pendingTitle;
    QString m_pendingText;
};

extern TfrmAulas* frmAulas;

// The profile of the student whose course is open: the roster's selected student, or the path the
// catalogue keeps when the roster has none.
QString CurrentStudentProfile();
