#include "lessons/uDiploma.h"

TfrmDiploma* frmDiploma = nullptr;

TfrmDiploma::TfrmDiploma() {
    setObjectName(QStringLiteral("frmDiploma"));
}
void ShowDiploma() {}
