#include "windows/course/uExec.h"

#include "core/exercise/exerciseState.h"
#include "core/exercise/judging.h"
#include "core/platform/keyboard.h"
#include "core/platform/sound.h"
#include "core/platform/tickCounter.h"
#include "windows/course/uAulas.h"
#include "windows/course/uCont.h"
#include "windows/course/uKey.h"
#include "windows/course/uPrompts.h"
#include "windows/course/uRes.h"
#include "windows/glue/keyCodes.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/qtText.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <optional>

TfrmExec* frmExec = nullptr;

namespace {
constexpr int kDesignedWidth = 591;
constexpr int kDesignedHeight = 502;

void paint(QWidget* widget, const QColor& background, const QColor& text = QColor()) {
    QPalette p = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Window, background);
        p.setColor(group, QPalette::Base, background);
        if (text.isValid()) {
            p.setColor(group, QPalette::WindowText, text);
            p.setColor(group, QPalette::Text, text);
        }
    }
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

QPlainTextEdit* makeTextBox(QWidget* parent, const char* name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFrameShape(QFrame::StyledPanel);
    box->setFrameShadow(QFrame::Sunken);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

QProgressBar* makeBar(QWidget* parent, const char* name) {
    auto* b = new QProgressBar(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setRange(0, 100);
    b->setValue(0);
    b->setTextVisible(false);
    return b;
}

// A control's designed place and the window edges it keeps its distance to when the window grows.
struct TAnchor {
    QWidget* widget;
    QRect designed;
    bool right;
    bool bottom;
};

// The boxes rewritten at every key hold plain Western text: no complex shaping or kerning to redo.
// Added to the font's strategy, not put in its place: a bitmap face's outline look-alike, chosen on a
// scaled screen, would otherwise give way to small bitmap letters spaced for the size asked.
QFont plainText(QFont font) {
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    font.setKerning(false);
    return font;
}

// A progress bar paints itself at once when its figure changes, which on a real display holds the key up
// for a millisecond; here it is painted with everything else the key changed.
void setBarValue(QProgressBar* bar, int value) {
    if (bar->value() == value)
        return;
    bar->setUpdatesEnabled(false);
    bar->setValue(value);
    bar->setUpdatesEnabled(true); // asks for the paint
}

void playSound(const std::string& fileName) {
    PlaySoundFile(SoundPath(fileName));
}
} // namespace

TfrmExec::TfrmExec() : DeferredControls(nullptr, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmExec"));
    const DesignScale s;
    m_designed = QSize(s(kDesignedWidth), s(kDesignedHeight));
    resize(m_designed);
    setFont(s.font(QStringLiteral("MS Sans Serif"), 12));
    paint(this, QColor(0xB5, 0xC1, 0xD9));
    // Dead keys must arrive as key-downs, not be composed by the input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setFocusPolicy(Qt::StrongFocus);
}

void TfrmExec::BuildControls() {
    const DesignScale s;

    pnlNomeAluno = new QLabel(QStringLiteral("1ª Aula (Nome do Aluno)"), this);
    pnlNomeAluno->setTextFormat(Qt::PlainText);
    pnlNomeAluno->setObjectName(QStringLiteral("pnlNomeAluno"));
    pnlNomeAluno->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlNomeAluno->setLineWidth(2);
    pnlNomeAluno->setAlignment(Qt::AlignCenter);
    pnlNomeAluno->setFont(s.font(QStringLiteral("Signature"), 24));
    paint(pnlNomeAluno, QColor(0x00, 0x54, 0xA8), Qt::white);

    lblMes = new TBlinkingLabel(1000, 350, this);
    lblMes->setObjectName(QStringLiteral("lblMes"));
    lblMes->setAlignment(Qt::AlignCenter);
    lblMes->setFont(s.font(QStringLiteral("Typewriter"), 19, true));
    paint(lblMes, QColor(0x41, 0x73, 0xF5), Qt::black);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(3);
    paint(Panel1, Qt::black);
    imgAula = new QLabel(Panel1);
    imgAula->setTextFormat(Qt::PlainText);
    imgAula->setObjectName(QStringLiteral("imgAula"));
    imgAula->setAlignment(Qt::AlignCenter);
    imgAula->setScaledContents(false);

    pnlTitulo = new QLabel(this);
    pnlTitulo->setTextFormat(Qt::PlainText);
    pnlTitulo->setObjectName(QStringLiteral("pnlTitulo"));
    pnlTitulo->setAlignment(Qt::AlignCenter);
    pnlTitulo->setFont(s.font(QStringLiteral("MS Sans Serif"), 16, true));
    paint(pnlTitulo, QColor(0x00, 0x54, 0xA8), Qt::white);

    txtAulaDescri = makeTextBox(this, "txtAulaDescri");
    txtAulaDescri->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtAulaDescri->setFont(s.font(QStringLiteral("Courier New"), 12));
    paint(txtAulaDescri, QColor(0xFA, 0xFA, 0xFA), QColor(0x80, 0x80, 0x80));

    txtRes = makeTextBox(this, "txtRes");
    txtRes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtRes->setFont(plainText(s.font(QStringLiteral("Terminal"), 12)));
    txtRes->setLineWrapMode(QPlainTextEdit::NoWrap);
    paint(txtRes, QColor(0xFA, 0xFA, 0xFA), Qt::black);

    barD = makeBar(this, "barD");
    bar = makeBar(this, "bar");
    bar->raise(); // drawn over the lower edge of barD

    txtUserKey = makeTextBox(this, "txtUserKey");
    txtUserKey->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtUserKey->setFont(plainText(s.font(QStringLiteral("Courier New"), 13, true)));
    paint(txtUserKey, QColor(0xFA, 0xFA, 0xFA), QColor(0x80, 0x80, 0x80));

    tmrTempo = MakeTimer(this, "tmrTempo", 1000);
    connect(tmrTempo, &QTimer::timeout, this, [this] { Guard([this] { tmrTempoTimer(); }); });

    // What a screen reader calls the window and its parts; the bars follow every key and keep quiet.
    setWindowTitle(QStringLiteral("Exercício de Datilografia"));
    txtAulaDescri->setAccessibleName(QStringLiteral("Descrição da Aula"));
    txtRes->setAccessibleName(QStringLiteral("Estatísticas"));
    txtUserKey->setAccessibleName(QStringLiteral("Texto Digitado"));
    bar->setAccessibleName(QStringLiteral("Acertos"));
    barD->setAccessibleName(QStringLiteral("Mínimo de Acertos"));
    KeepValueQuiet(bar);
    KeepValueQuiet(barD);

    NoChildTakesFocus(this);
    layOut();
}

namespace {
const QString kLongestStatistic = QStringLiteral("Porcentagem de Acerto = 100%");
QFont designedStatisticsFont() {
    return plainText(DesignScale().font(QStringLiteral("Terminal"), 12));
}
} // namespace

void TfrmExec::layOut() {
    const DesignScale s;
    const int growX = width() - m_designed.width();
    const int growY = height() - m_designed.height();
    const TAnchor anchors[] = {
        {pnlNomeAluno, s.rect(0, 0, kDesignedWidth, 49), true, false},
        {lblMes, s.rect(0, 49, kDesignedWidth, 21), true, false},
        {Panel1, s.rect(8, 80, 265, 249), false, false},
        {pnlTitulo, s.rect(279, 80, 304, 21), true, false},
        {txtAulaDescri, s.rect(279, 101, 304, 332), true, false},
        {txtRes, s.rect(8, 440, 154, 54), false, true},
        {barD, s.rect(168, 440, 402, 10), true, false},
        {bar, s.rect(168, 448, 402, 10), true, false},
        {txtUserKey, s.rect(168, 456, 402, 38), true, true},
    };
    // The terminal face the statistics were drawn for is narrower than its look-alikes here: where the
    // screen leaves room, the box widens until its longest line fits in the designed face, and the bars
    // and the echo beside it give up as much of their width.
    const QRect designedRes = anchors[5].designed;
    const int widen = std::clamp(statisticsWidth() - designedRes.width(), 0, std::max(0, growX / 2));
    for (const TAnchor& a : anchors) {
        QRect r = a.designed;
        if (a.right)
            r.setWidth(std::max(0, r.width() + growX));
        if (a.bottom)
            r.setHeight(std::max(0, r.height() + growY));
        if (a.widget == txtRes)
            r.setWidth(r.width() + widen);
        else if (a.widget == barD || a.widget == bar || a.widget == txtUserKey)
            r.adjust(widen, 0, 0, 0);
        a.widget->setGeometry(r);
    }
    imgAula->setGeometry(Panel1->contentsRect());
    fitStatisticsFont();
}

int TfrmExec::statisticsWidth() const {
    const int margin = static_cast<int>(txtRes->document()->documentMargin());
    return QFontMetrics(designedStatisticsFont()).horizontalAdvance(kLongestStatistic) + 2 * margin +
           2 * txtRes->frameWidth() + 2;
}

void TfrmExec::fitStatisticsFont() {
    // On a screen too small to widen the box, the longest line must still fit it, and the nine lines
    // its height (the last, "Porcentagem de Acerto", is the one the student looks for).
    const int margin = 2 * static_cast<int>(txtRes->document()->documentMargin());
    QStringList lines = FromCp(StatisticsBlock(ExerciseState, 0.0)).split(QStringLiteral("\r\n"));
    lines.last() = kLongestStatistic; // room for 100%
    const QFont chosen =
        FittedLinesFont(designedStatisticsFont(), lines, txtRes->viewport()->size() - QSize(margin, margin));
    if (chosen != txtRes->font())
        txtRes->setFont(chosen);
}

void TfrmExec::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (IsBuilt())
        layOut();
}

bool TfrmExec::focusNextPrevChild(bool) {
    return false;
} // Tab is a key like the others here

bool TfrmExec::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Guard([this] { FormActivate(); });
    return handled;
}

void TfrmExec::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Guard([this] {
        m_waiting = !ExerciseState.Running;
        FormActivate();
        activateWindow();
        setFocus();
    });
}

void TfrmExec::keyPressEvent(QKeyEvent* event) {
    event->accept();
    m_shifted = event->modifiers().testFlag(Qt::ShiftModifier);
    m_capsLock = CapsLockOf(event);
    Guard([this, event] { FormKeyDown(VirtualKeyOf(event)); });
}

void TfrmExec::closeEvent(QCloseEvent* event) {
    Guard([this] { FormCloseQuery(); });
    QDialog::closeEvent(event);
}

void TfrmExec::FormActivate() {
    if (CompositorPlacesWindows()) {
        // A compositor places the windows itself: only the full-screen state puts this one at 0,0
        // over the whole screen (weston's X window manager takes a window asking for 0,0 for one
        // asking for no place, and puts it below its panel).
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        // An X window manager (openbox) takes an undecorated window of exactly the screen's size for
        // a full-screen one and stacks it above every topmost window, the keyboard included; a row
        // more, below the screen's edge, keeps it an ordinary window that looks the same.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            area.setHeight(area.height() + 1);
        setGeometry(area);
    }
    RefreshStatistics();
}

void TfrmExec::FormKeyDown(std::uint16_t key) {
    if (key == Vk::Escape) {
        if (!ExerciseState.Running) {
            close();
        } else if (AskYesNo(QString::fromLatin1(kCancelQuestion))) {
            ExerciseState.Running = false;
            tmrTempo->stop();
            close();
        }
    } else if (key >= Vk::F1 && key <= Vk::F12) {
        if (!ExerciseState.Running && key == ExerciseState.StartKey)
            startExercise();
    } else if (ExerciseState.Running && key != 0) {
        const int wrongBefore = ExerciseState.LettersWrong;
        JudgeKey(key);
        appendEcho(key, EchoVerdict(ExerciseState, wrongBefore));
        RefreshStatistics();
        CheckLessonEnd();
    }
    FlashKey(key);
}

void TfrmExec::startExercise() {
    RunCountdown(this);
    lblMes->setText(QString::fromLatin1(kRunningMessage));
    StartExercise(ExerciseState, TimeOfDayNow());
    m_waiting = false;
    tmrTempo->start();
    RefreshStatistics();
}

void TfrmExec::appendEcho(std::uint16_t key, const TEchoVerdict& verdict) {
    // The core decides the text, the line breaks and the mark; the box only carries them out. The box
    // breaks its lines itself (a lesson typed without Enter would otherwise be one paragraph of thousands
    // of characters, laid out again at every key).
    QTextDocument* document = txtUserKey->document();
    if (document->isEmpty())
        m_echo.Clear(); // a new lesson emptied the box
    const TEchoStep step =
        m_echo.Type({key, m_shifted, m_capsLock, frmKey->Layout()}, verdict, echoColumns());
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    if (step.newLine) {
        cursor.setPosition(cursor.position() - static_cast<int>(step.carried));
        cursor.insertBlock();
        cursor.movePosition(QTextCursor::End);
    }
    const QTextCharFormat plain; // never the mark's format of the character before
    if (!step.text.empty())
        cursor.insertText(FromCp(step.text), plain);
    if (step.lineAfter)
        cursor.insertBlock(QTextBlockFormat(), plain);
    if (step.markFromEnd > 0) {
        // The wrong word's first wrong key: red and underlined, so that colour is not the only cue.
        QTextCharFormat wrong;
        wrong.setForeground(QColor(0xC0, 0x00, 0x00));
        wrong.setFontUnderline(true);
        cursor.setPosition(cursor.position() - static_cast<int>(step.markFromEnd));
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(wrong);
    }
    // The newest keys stay in view.
    QScrollBar* scroll = txtUserKey->verticalScrollBar();
    if (scroll->value() != scroll->maximum())
        scroll->setValue(scroll->maximum());
}

int TfrmExec::echoColumns() const {
    // The characters a line holds in the fixed-width face, inside the document's margins and beside the
    // cursor, so that the box never breaks a line before the echo does.
    const int margin = static_cast<int>(txtUserKey->document()->documentMargin());
    const int room = txtUserKey->viewport()->width() - 2 * margin - txtUserKey->cursorWidth();
    return std::max(1, room / std::max(1, txtUserKey->fontMetrics().horizontalAdvance(QLatin1Char('M'))));
}

void TfrmExec::JudgeKey(std::uint16_t key) {
    ::JudgeKey(ExerciseState, key, WrongWordToggle, playSound);
}

void TfrmExec::JudgeWord(std::uint8_t code) {
    ::JudgeWord(ExerciseState, code, WrongWordToggle, playSound);
}

void TfrmExec::RefreshStatistics() {
    // Read in place at every key: the state carries the exercise's slips, not worth a copy per key.
    const TExerciseState* shown = &ExerciseState;
    double elapsed = ExerciseState.FinalElapsed;
    std::optional<TExerciseState> waiting;
    if (ExerciseState.Running) {
        elapsed = ElapsedSince(ExerciseState.StartTime, TimeOfDayNow());
    } else if (m_waiting) {
        // A lesson not started yet shows its own figures, not what the last one left behind.
        waiting.emplace();
        waiting->ExpectedTime = ExerciseState.ExpectedTime;
        waiting->MinimumPercent = ExerciseState.MinimumPercent;
        shown = &*waiting;
        elapsed = 0.0;
    }
    m_statistics = FromCp(StatisticsBlock(*shown, elapsed));
    showStatistics();
    setBarValue(bar, std::clamp(RightPercentage(*shown), 0, 100));
    setBarValue(barD, std::clamp(shown->MinimumPercent, 0, 100));
}

void TfrmExec::showStatistics() {
    // Only the lines that changed are rewritten: a key changes two or three of the nine.
    const QStringList lines = m_statistics.split(QStringLiteral("\r\n"));
    QTextDocument* document = txtRes->document();
    if (document->blockCount() != lines.size()) {
        txtRes->setPlainText(lines.join(QLatin1Char('\n')));
        return;
    }
    QTextBlock block = document->begin();
    for (const QString& line : lines) {
        if (block.text() != line) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.insertText(line);
        }
        block = block.next();
    }
}

void TfrmExec::CheckLessonEnd() {
    if (!LessonComplete(ExerciseState))
        return;
    ExerciseState.Running = false;
    ExerciseState.FinalElapsed = ElapsedSince(ExerciseState.StartTime, TimeOfDayNow());
    tmrTempo->stop();
    // Owned by this window: made without one, a window manager took it for a box of the whole program
    // and brought the roster up with it, over the lesson (openbox).
    frmRes->winId();
    if (QWindow* results = frmRes->windowHandle())
        results->setTransientParent(windowHandle());
    frmRes->exec();
    close();
    frmAulas->activateWindow();
    frmAulas->FormActivate();
}

void TfrmExec::tmrTempoTimer() {
    lblMes->setText(FromCp(ClockLine(ElapsedSince(ExerciseState.StartTime, TimeOfDayNow()))));
    RefreshStatistics();
}

void TfrmExec::FormCloseQuery() {
    // However the window is closed, no exercise goes on running behind it.
    if (ExerciseState.Running) {
        ExerciseState.Running = false;
        tmrTempo->stop();
    }
    HideKeyboard();
    StopSound();
}
