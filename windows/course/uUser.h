#pragma once
#include "windows/widgets/deferredControls.h"

#include <QDialog>
#include <QGroupBox>

class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TBalloonHint;

// A titled choice of options laid out in columns; ItemIndex -1 shows no choice.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent);
    // Lays the options out in the designed client size (designed pixels, scaled).
    void LayOut(double scale, int width, int height);

    int ItemIndex() const;
    // Below 0 clears the choice; above the last option selects the last one.
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;
    int Count() const;
    // Only the chosen option is a Tab stop.
    void FixTabStop();

signals:
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* m_group;
    int m_columns;
};

enum class TEditorMode { New, Edit };

// The student editor: creates a profile or changes an existing one.
class TfrmUser : public DeferredControls<QDialog> {
    Q_OBJECT
public:
    TfrmUser();
    ~TfrmUser() override;

    TControl<QLabel> Label1{this};
    TControl<QLabel> Label2{this};
    TControl<QLineEdit> txtName{this};
    TControl<QLineEdit> txtPassWord{this};
    TControl<TRadioGroup> opcUSer{this};
    TControl<TRadioGroup> opcKeyboard{this};
    TControl<QFrame> Panel1{this};
    TControl<QPushButton> cmdSave{this};
    TControl<QPushButton> BitBtn2{this};
    TControl<TBalloonHint> ohint{this};

    TEditorMode Mode() const { return m_mode; }

    // The two openings up to the showing; NewStudent and EditStudent then show the editor.
    void PrepareNew();
    void PrepareEdit(const QString& profilePath);

    void txtNameChange();
    void txtPassWordChange();
    void opcUSerClick();
    void opcKeyboardClick();
    void txtNameEnter();
    void txtPassWordEnter();
    void opcUSerEnter();
    void opcKeyboardEnter();
    void cmdSaveClick();
    void FormCloseQuery();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls() override;
    void focusMoved(QWidget* to);
    TEditorMode m_mode = TEditorMode::New;
    QString m_profilePath;        // edit mode: the profile being edited
    QWidget* m_entered = nullptr; // the control the focus last entered
    QMetaObject::Connection m_focusWatch;
};

extern TfrmUser* frmUser;

void NewStudent();
void EditStudent(const QString& profilePath);
