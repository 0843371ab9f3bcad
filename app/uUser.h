#pragma once
#include <QDialog>

// The student editor: creates a profile or changes an existing one.
class TfrmUser : public QDialog {
    Q_OBJECT
public:
    TfrmUser();
};

extern TfrmUser* frmUser;

void NewStudent();
void EditStudent(const QString& profilePath);
