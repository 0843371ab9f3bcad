#include "windows/course/uCont.h"

#include "core/exercise/judging.h"
#include "core/platform/sound.h"
#include "windows/widgets/colours.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/shape.h"

#include <QAccessible>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

TfrmCont* frmCont = nullptr;

namespace {
constexpr const char* kGoSound = "go.wav";

QLabel* makeCaption(QWidget* parent, const char* name, const DesignScale& s, const QColor& colour) {
    auto* label = new QLabel(QStringLiteral("Contagem Regressiva"), parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(s.font(QStringLiteral("MS Sans Serif"), 16, true));
    label->setAttribute(Qt::WA_TranslucentBackground);
    SetColours(label, colour);
    return label;
}
} // namespace

TfrmCont::TfrmCont() : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmCont"));
    setWindowTitle(QStringLiteral("Contagem Regressiva"));
    const DesignScale s(DesignScale::PopUpDpi);
    s.fixSize(this, 212, 91);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x00, 0x54, 0xA8));
    setPalette(p);
    setAutoFillBackground(true);

    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->SetOutline(QColor(0x41, 0x73, 0xF5), s(3));
    Shape1->setGeometry(rect());

    Label1 = makeCaption(this, "Label1", s, QColor(0x80, 0x00, 0x00));
    s.place(Label1, 9, 9, 193, 25);
    Label2 = makeCaption(this, "Label2", s, Qt::white);
    s.place(Label2, 7, 7, 193, 25);

    lblcont = MakeSunkenLabel(this, "lblcont", QString(), s.rect(72, 40, 57, 41));
    lblcont->setAlignment(Qt::AlignCenter);
    lblcont->setFont(s.font(QStringLiteral("MS Sans Serif"), 32, true));
    SetColours(lblcont, QColor(0x00, 0xFF, 0xFF));
    // Screen readers speak a notification as it comes up; a window's new name they do not (the
    // toolkit's event carries no text), so each number comes up again as one. The role is given
    // before the first text, which makes the label known to screen readers as it is.
    SetAccessibleRole(lblcont, QAccessible::Notification);
    lblcont->setText(QStringLiteral("3"));

    tmrCont = MakeTimer(this, "tmrCont", 1000);
    connect(tmrCont, &QTimer::timeout, this, [this] { Guard([this] { tmrContTimer(); }); });

    NoChildTakesFocus(this);
    setFocusPolicy(Qt::StrongFocus);
    CentreOnScreen(this, ScreenPart::Whole);
}

// Keys (Escape included) are swallowed: the countdown cannot be cut short or cancelled.
void TfrmCont::keyPressEvent(QKeyEvent* event) {
    event->accept();
}
void TfrmCont::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}
bool TfrmCont::focusNextPrevChild(bool) {
    return false;
}

// The focused window's name says the number, and the number comes up as a notification, which a
// screen reader speaks.
void TfrmCont::announce() {
    setAccessibleName(QStringLiteral("Contagem Regressiva: ") + lblcont->text());
    lblcont->setAccessibleName(lblcont->text());
    if (lblcont->isVisible()) {
        QAccessibleEvent shown(lblcont, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

void TfrmCont::tmrContTimer() {
    --Countdown;
    lblcont->setText(QString::number(Countdown));
    if (Countdown > 0)
        announce();
    if (Countdown <= 0) {
        const std::string go = SoundPath(kGoSound);
        if (QFileInfo::exists(QString::fromStdString(go)))
            PlaySoundFile(go);
        tmrCont->stop();
        accept();
    }
}

void RunCountdown(QWidget* exerciseWindow) {
    frmCont->lblcont->setText(QStringLiteral("3"));
    frmCont->Countdown = 3;
    frmCont->announce();
    frmCont->tmrCont->start();
    frmCont->exec();
    if (exerciseWindow) {
        exerciseWindow->activateWindow();
        exerciseWindow->setFocus();
    }
}
