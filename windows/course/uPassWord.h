#pragma once
#include "windows/widgets/deferredControls.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

enum class TAccessMode { Administrator, Lesson };

// The access dialog: a name and a password checked against the student profiles. Until the first
// administrator is saved, the built-in administrator is let through at once.
class TfrmPassWord : public DeferredControls<QDialog> {
    Q_OBJECT
public:
    TfrmPassWord();

    TControl<QLabel> Label1{this};
    TControl<QLabel> Label2{this};
    TControl<QLineEdit> txtName{this};
    TControl<QLineEdit> txtPassWord{this};
    TControl<QFrame> Panel1{this};
    TControl<QPushButton> btnOK{this};
    TControl<QPushButton> btnCancel{this};

    // The outcome of the last opening and the mode it was opened in.
    bool Accepted() const { return m_accepted; }
    TAccessMode Mode() const { return m_mode; }
    // The name let through: "root", or the profile's file name as stored (the typed name may differ
    // from it in letter case).
    QString AcceptedName() const { return m_acceptedName; }

    // Readies the boxes for an opening in the given mode (RequestAccess steps before the showing).
    void Prepare(TAccessMode mode);
    void btnOKClick();
    // The folder whose profiles are checked when there is no roster to ask (another program's dialog).
    void SetUsersFolder(const QString& folder) { m_usersFolder = folder; }

private:
    void BuildControls() override;
    void finish(bool accepted);
    bool m_accepted = false;
    QString m_acceptedName;
    QString m_usersFolder;
    TAccessMode m_mode = TAccessMode::Lesson;
};

extern TfrmPassWord* frmPassWord;

// Shows the access dialog; the accepted name, or the empty text when refused or cancelled.
QString RequestAccess(TAccessMode mode);
