#pragma once
#include "windows/course/uReforco.h"
#include "windows/widgets/deferredControls.h"

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

    QString StudentProfilePath; // the current student's profile (users/<name>), set by the roster

    TControl<QPushButton> btnSobre{this};   // the About button, on a strip above the designed client area
    TControl<QPushButton> btnReforco{this}; // a Reforço of the student's weakest keys, beside it
    TControl<QGroupBox> GroupBox1{this};
    TControl<QLabel> Label1{this};
    TControl<QLabel> Label2{this};
    TControl<QLabel> Label3{this};
    TControl<QLabel> Label4{this};
    TControl<QLabel> Label5{this};
    TControl<QLabel> Label6{this};
    TControl<QLabel> lbl1{this}; // TempoTotal
    TControl<QLabel> lbl2{this}; // WordOK
    TControl<QLabel> lbl3{this}; // WordErr
    TControl<QLabel> lbl4{this}; // CharOK
    TControl<QLabel> lbl5{this}; // CharErr
    TControl<QLabel> lbl6{this}; // Porcent + "%"
    TControl<QLabel> Image1{this};
    TControl<QGroupBox> lstAula{this}; // 24 options in two columns
    TControlList<QRadioButton, QList<QRadioButton*>> lstAulaItems{this};
    TControl<QPushButton> btnFazerAula{this};
    TControl<QGroupBox> GroupBox2{this};
    TControl<TBlinkingLabel> JvBlinkingLabel1{this};
    TControl<QWidget> pnlDatAula{this};
    TControl<QLabel> lbla1{this}; // WordOK
    TControl<QLabel> lbla2{this}; // WordErr
    TControl<QLabel> lbla3{this}; // CharOK
    TControl<QLabel> lbla4{this}; // CharErr
    TControl<QLabel> lbla5{this}; // TempoTotal
    TControl<QLabel> lbla6{this}; // Porcent + "%"
    TControl<QPushButton> btnDiploma{this};
    TControl<QPushButton> BitBtn3{this};
    TControl<TBalloonHint> ohint{this};

    // The selected lesson index, 0 to 23, or -1.
    int ItemIndex() const;
    // As a pick by the user when it changes the selection (lstAulaClick runs); -1 clears it without
    // running the handler; values below -1 count as -1, above 23 as 23.
    void SetItemIndex(int index);

    void FormCreate();
    void FormActivate();
    void lstAulaClick();
    void markPassedLessons();
    void btnFazerAulaClick(); // the lesson loader
    // The loader's work short of showing anything: stores lesson index + 1 as the student's current
    // one, then fills the exercise window and the exercise state from its lesson file. Raises on the
    // first thing that cannot be read, as the button does.
    void LoadLesson(int index);
    void btnDiplomaClick();
    void BitBtn3Click();
    void btnSobreClick();
    void btnReforcoClick();
    // Whether a Reforço can be made for the student, and the keys; the button follows.
    void RefreshReforco();
    const TReforcoSetting& Reforco() const { return m_reforco; }
    void FormCloseQuery();
    // After a window shown over this one has closed.
    void ReclaimActivation();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void fitFonts();
    void showBalloon(const QString& title, const QString& text);
    void pickedByUser(int index);
    void focusSelected();
    void BuildControls() override;
    TControl<QButtonGroup> m_group{this};
    QImage m_picture; // loaded at creation, until the controls are made
    int m_index = -1;
    bool m_returningFromBox = false;
    bool m_focusOnActivation = false; // shown: the focus goes to the selected lesson
    QString m_pendingTitle;
    QString m_pendingText;
    TReforcoSetting m_reforco;
};

extern TfrmAulas* frmAulas;

// The profile of the student whose course is open: the roster's selected student, or the path the
// catalogue keeps when the roster has none.
QString CurrentStudentProfile();
