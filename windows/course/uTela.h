#pragma once
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class TBalloonHint;

// The student roster: the window the user works from.
class TfrmTela : public QWidget {
    Q_OBJECT
public:
    TfrmTela();

    QLabel* Label1;
    QListWidget* lstUsr;
    QPushButton* btnSel;
    QPushButton* btnNew;
    QPushButton* btnEditUser;
    QPushButton* btnDel;
    QPushButton* BitBtn1;
    QPushButton* btnExit;
    TBalloonHint* ohint;

    // The users folder (no trailing separator) and the selected student.
    QString UsersFolder() const { return m_usersFolder; }
    int SelectedIndex() const;
    QString SelectedName() const;       // empty when nothing is selected
    QString CurrentProfilePath() const; // users folder, separator, selected name

    // Re-reads the folder into the list: the selection is cleared and lstUsrChange runs.
    void ReloadList();
    // After a dialog shown over the roster has closed.
    void ReclaimActivation();

    void FormCreate();
    void FormActivate();
    void lstUsrChange();
    void btnSelClick();
    void btnNewClick();
    void btnEditUserClick();
    void btnDelClick();
    void BitBtn1Click();
    void btnExitClick();
    bool FormCloseQuery();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillList();
    QString m_usersFolder;
    bool m_listReady = false;
    int m_lineHeight = 13;
};

extern TfrmTela* frmTela;
