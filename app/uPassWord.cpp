#include "app/uPassWord.h"

TfrmPassWord* frmPassWord = nullptr;

TfrmPassWord::TfrmPassWord() { setObjectName(QStringLiteral("frmPassWord")); }

QString RequestAccess(TAccessMode) { return {}; }
