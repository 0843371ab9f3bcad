#include "exercise/uRes.h"

TfrmRes* frmRes = nullptr;

TfrmRes::TfrmRes() { setObjectName(QStringLiteral("frmRes")); }
