#include "exercise/uExec.h"

#include "widgets/blinkingLabel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

TfrmExec* frmExec = nullptr;

TfrmExec::TfrmExec() {
    setObjectName(QStringLiteral("frmExec"));
    pnlNomeAluno = new QLabel(this);
    pnlNomeAluno->setObjectName(QStringLiteral("pnlNomeAluno"));
    lblMes = new TBlinkingLabel(1000, 350, this);
    lblMes->setObjectName(QStringLiteral("lblMes"));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    imgAula = new QLabel(Panel1);
    imgAula->setObjectName(QStringLiteral("imgAula"));
    pnlTitulo = new QLabel(this);
    pnlTitulo->setObjectName(QStringLiteral("pnlTitulo"));
    txtAulaDescri = new QPlainTextEdit(this);
    txtAulaDescri->setObjectName(QStringLiteral("txtAulaDescri"));
    txtRes = new QPlainTextEdit(this);
    txtRes->setObjectName(QStringLiteral("txtRes"));
    barD = new QProgressBar(this);
    barD->setObjectName(QStringLiteral("barD"));
    bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("bar"));
    txtUserKey = new QPlainTextEdit(this);
    txtUserKey->setObjectName(QStringLiteral("txtUserKey"));
    tmrTempo = new QTimer(this);
    tmrTempo->setObjectName(QStringLiteral("tmrTempo"));
    tmrTempo->setInterval(1000);
}
