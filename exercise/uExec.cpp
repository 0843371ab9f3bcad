#include "exercise/uExec.h"

TfrmExec* frmExec = nullptr;

TfrmExec::TfrmExec() { setObjectName(QStringLiteral("frmExec")); }
