#include "exercise/uCont.h"

TfrmCont* frmCont = nullptr;

TfrmCont::TfrmCont() { setObjectName(QStringLiteral("frmCont")); }

void RunCountdown(QWidget*) {}
