#include "lessons/uAulas.h"

TfrmAulas* frmAulas = nullptr;

TfrmAulas::TfrmAulas() {
    setObjectName(QStringLiteral("frmAulas"));
    setWindowTitle(QStringLiteral("Aulas do Aluno"));
}

void TfrmAulas::lstAulaClick() {}

void TfrmAulas::SetSelection(int index) {
    m_selection = index < -1 ? -1 : (index > 23 ? 23 : index);
}

void TfrmAulas::FormActivate() {}
