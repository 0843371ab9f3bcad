#pragma once
#include <QDialog>

enum class TAccessMode { Administrator, Lesson };

// The access dialog: a name and a password checked against the student profiles.
class TfrmPassWord : public QDialog {
    Q_OBJECT
public:
    TfrmPassWord();
};

extern TfrmPassWord* frmPassWord;

// Shows the access dialog; the accepted name, or the empty text when refused or cancelled.
QString RequestAccess(TAccessMode mode);
