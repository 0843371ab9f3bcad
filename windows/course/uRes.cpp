#include "windows/course/uRes.h"

#include "core/exercise/exerciseState.h"
#include "core/exercise/history.h"
#include "core/exercise/judging.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/keyboard.h"
#include "core/platform/sound.h"
#include "windows/course/uAulas.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/course/uReforco.h"
#include "windows/glue/keyCodes.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/colours.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/qtText.h"
#include "windows/widgets/shape.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <ctime>

TfrmRes* frmRes = nullptr;

namespace {
// The designed window ends below "Tecle <ENTER> para Sair"; the keys' line is added under it, so that no
// designed control moves.
constexpr int kKeysLineHeight = 38;
} // namespace

TfrmRes::TfrmRes() : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmRes"));
    setWindowTitle(QStringLiteral("Resultados da Aula")); // what a screen reader calls it
    const DesignScale s(DesignScale::PopUpDpi);
    s.fixSize(this, 421, 276 + kKeysLineHeight);
    // The texts lie on the window's own blue, painted over the light frame.
    const QColor blue(0x00, 0x54, 0xA8);
    SetColours(this, Qt::black, blue);

    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->SetFill(QColor(0xB5, 0xC1, 0xD9));
    Shape1->SetOutline(QColor(0x41, 0x73, 0xF5), s(4), Qt::DotLine);
    Shape1->setGeometry(rect());

    StaticText1 =
        MakeSunkenLabel(this, "StaticText1", QStringLiteral("Resultados da Aula"), s.rect(16, 16, 389, 22));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFont(s.font(QStringLiteral("Arial"), 16, true));
    SetColours(StaticText1, Qt::white, blue);

    lblRes = MakeSunkenLabel(this, "lblRes", QStringLiteral("Resultados da Aula"), s.rect(16, 39, 389, 170));
    lblRes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblRes->setFont(s.font(QStringLiteral("Terminal"), 16));
    SetColours(lblRes, QColor(0x80, 0x80, 0x80), QColor(0xFA, 0xFA, 0xFA));

    lblOK = new TBlinkingLabel(200, 400, this);
    lblOK->setObjectName(QStringLiteral("lblOK"));
    lblOK->setAlignment(Qt::AlignCenter);
    lblOK->setFont(s.font(QStringLiteral("MS Sans Serif"), 13, true));
    SetColours(lblOK, QColor(0x00, 0xFF, 0x00), blue);
    s.place(lblOK, 16, 211, 389, 22);

    StaticText3 = MakeSunkenLabel(this, "StaticText3", QStringLiteral("Tecle <ENTER> para Sair"),
                                  s.rect(16, 236, 389, 22));
    StaticText3->setAlignment(Qt::AlignCenter);
    StaticText3->setFont(s.font(QStringLiteral("Arial"), 15, true));
    SetColours(StaticText3, QColor(0xC0, 0xC0, 0xC0), blue);

    lblTeclas = new QLabel(this);
    lblTeclas->setObjectName(QStringLiteral("lblTeclas"));
    lblTeclas->setTextFormat(Qt::PlainText);
    lblTeclas->setWordWrap(true);
    lblTeclas->setAlignment(Qt::AlignCenter);
    lblTeclas->setFont(s.font(QStringLiteral("Arial"), 11, true));
    SetColours(lblTeclas, Qt::white, blue);
    s.place(lblTeclas, 16, 276 - 14, 389, kKeysLineHeight + 4);
    // Under the keys' line, which is under the designed controls: the window grows to show it.
    lblStore = MakeLabel(this, "lblStore", QString(), s.rect(16, 276 + kKeysLineHeight - 10, 389, 20));
    lblStore->setTextFormat(Qt::PlainText);
    lblStore->setWordWrap(true);
    lblStore->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStore->setFont(s.font(QStringLiteral("MS Sans Serif"), 10, true));
    SetColours(lblStore, QColor(0xFF, 0xFF, 0x80), blue);
    lblStore->hide();

    NoChildTakesFocus(this);
    setFocusPolicy(Qt::StrongFocus);
    CentreOnScreen(this, ScreenPart::Whole);
}

bool TfrmRes::focusNextPrevChild(bool) {
    return false;
}

bool TfrmRes::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Guard([this] { FormActivate(); });
    return handled;
}

void TfrmRes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_activated = false;
    // Some platforms give a window shown without a window manager no activation of its own.
    Guard([this] {
        activateWindow();
        setFocus();
        FormActivate();
    });
}

void TfrmRes::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // An Enter held down since the last word of a lesson ending in Enter is not a new press. X11
    // repeats a held key as a release and a press with the same time stamp, which the toolkit does
    // not always mark as a repeat.
    const bool repeat = event->isAutoRepeat() || (m_releasedAt != 0 && event->timestamp() == m_releasedAt &&
                                                  event->nativeScanCode() == m_releasedScanCode);
    if (repeat)
        return;
    Guard([this, event] { FormKeyDown(VirtualKeyOf(event)); });
}

void TfrmRes::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    m_releasedAt = event->timestamp();
    m_releasedScanCode = event->nativeScanCode();
}

void TfrmRes::closeEvent(QCloseEvent* event) {
    Guard([this] { FormCloseQuery(); });
    QDialog::closeEvent(event);
}

void TfrmRes::placeOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QPoint place(area.left() + (area.width() - frameGeometry().width()) / 2, area.top() + 50);
        if (frameGeometry().topLeft() != place)
            move(place);
    }
}

void TfrmRes::FormActivate() {
    // Activated again (after an error box, or when the user comes back from another program), the
    // window must not judge and record the same exercise twice.
    if (m_activated)
        return;
    m_activated = true;
    // Centred across, 50 px from the top; its own x is not yet the window manager's place here
    // when the window opens inside a held key's handling. A window manager may still place the window
    // when it maps it, after this: the place is asked for again once the window is on screen.
    placeOnScreen();
    for (const int ms : {0, 100, 300})
        QTimer::singleShot(ms, this, [this] {
            if (isVisible())
                placeOnScreen();
        });
    lblRes->setText(ShownLines(frmExec->StatisticsText()));
    // The designed terminal face is tighter than its look-alike: the nine lines must all show.
    lblRes->setFont(FittedLinesFont(DesignScale(DesignScale::PopUpDpi).font(QStringLiteral("Terminal"), 16),
                                    lblRes->text().split(QLatin1Char('\n')), lblRes->contentsRect().size()));

    const std::string profile = frmAulas->StudentProfilePath.toStdString();
    const int lesson = frmAulas->ItemIndex() + 1;
    const bool reforco = RunningReforco.Active;
    StaticText1->setText(reforco ? QStringLiteral("Resultados do Reforço")
                                 : QStringLiteral("Resultados da Aula"));
    const QFont verdictFont =
        DesignScale(DesignScale::PopUpDpi).font(QStringLiteral("MS Sans Serif"), 13, true);
    lblOK->setFont(verdictFont);
    lblOK->setAccessibleDescription(QString());
    if (LessonPassed(ExerciseState)) {
        lblOK->setText(FromCp(kPassedVerdict));
        SetColours(lblOK, QColor(0xFF, 0xFF, 0x00));
        PlaySoundFile(SoundPath(kPassedSound));
    } else {
        lblOK->setText(FromCp(kFailedVerdict));
        SetColours(lblOK, QColor(0xF0, 0x4E, 0x00));
        PlaySoundFile(SoundPath(kFailedSound));
    }
    // What went wrong, by key: the window is announced with it, as no control of it takes the focus.
    const QString keys = FromUtf8(MostMissedLine(ExerciseState.Slips.Keys, frmKey ? frmKey->Layout() : 0));
    lblTeclas->setText(keys);
    lblTeclas->setAccessibleName(keys);
    setAccessibleDescription(keys);
    const std::string when = IsoLocalTime(std::time(nullptr));
    if (reforco) {
        // No verdict for a Reforço: how each key in focus went this time, against before.
        const TReforcoOutcome outcome = ReforcoOutcome(
            RunningReforco.Focus, HistoryEntryOf(ExerciseState, RunningReforco.Lesson, when).Keys,
            RunningReforco.Layout);
        lblOK->setText(FromUtf8(outcome.Line));
        lblOK->setFont(FittedFont(verdictFont, {lblOK->text()}, lblOK->width() - 4));
        lblOK->setAccessibleDescription(FromUtf8(outcome.Spoken));
        showStoreProblem(StoreReforco(profile, RunningReforco.Lesson, ExerciseState, when)
                             ? QString()
                             : QStringLiteral("Este Reforço não pôde ser guardado no histórico."));
        return;
    }
    // What was not kept, and why, is said under the verdict, which stays as judged.
    const TStoreResult stored = StoreExercise(profile, lesson, ExerciseState, when);
    showStoreProblem(FromUtf8(stored.Problem));
}

void TfrmRes::showStoreProblem(const QString& text) {
    const DesignScale s(DesignScale::PopUpDpi);
    const int designedHeight = s(276 + kKeysLineHeight);
    lblStore->setText(text);
    lblStore->setVisible(!text.isEmpty());
    int height = designedHeight;
    if (!text.isEmpty()) {
        const int lineHeight = lblStore->heightForWidth(lblStore->width());
        lblStore->resize(lblStore->width(), lineHeight);
        height = lblStore->y() + lineHeight + s(10);
    }
    if (this->height() != height) {
        setFixedHeight(height);
        Shape1->setGeometry(rect());
    }
}

void TfrmRes::FormKeyDown(std::uint16_t key) {
    if (key == Vk::Return)
        close();
}

void TfrmRes::FormCloseQuery() {
    StopSound();
}
