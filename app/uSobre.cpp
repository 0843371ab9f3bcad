#include "app/uSobre.h"

TfrmSobre* frmSobre = nullptr;

TfrmSobre::TfrmSobre() { setObjectName(QStringLiteral("frmSobre")); }
