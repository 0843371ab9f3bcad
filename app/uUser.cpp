#include "app/uUser.h"

TfrmUser* frmUser = nullptr;

TfrmUser::TfrmUser() { setObjectName(QStringLiteral("frmUser")); }

void NewStudent() {}
void EditStudent(const QString&) {}
