#include "lessons/uAulas.h"

TfrmAulas* frmAulas = nullptr;

TfrmAulas::TfrmAulas() {
    setObjectName(QStringLiteral("frmAulas"));
    setWindowTitle(QStringLiteral("Aulas do Aluno"));
}

void TfrmAulas::lstAulaClick() {}
