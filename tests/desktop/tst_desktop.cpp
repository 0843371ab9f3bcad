// The windows on a real X server with a window manager (run by run-desktop.sh under Xvfb and
// openbox): real key and mouse events from the X server (xdotool), stacking as the window manager
// publishes it. One test function per window.
#include "../gui/exerciseDriver.h"
#include "core/lessons/lessonFile.h"
#include "core/storage/password.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "windows/course/uAulas.h"
#include "windows/course/uDiploma.h"
#include "windows/course/uPassWord.h"
#include "windows/course/uPrompts.h"
#include "windows/course/uRes.h"
#include "windows/course/uSobre.h"
#include "windows/course/uSplash.h"
#include "windows/course/uTela.h"
#include "windows/course/uUser.h"
#include "windows/course/windowSet.h"
#include "windows/report/uAluno.h"
#include "windows/report/uRelatorio.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/qtText.h"

#include <QAccessible>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

namespace {
// Runs a shell command to its end while this program goes on handling its events, as it would
// while a person types.
QString sh(const QString& command) {
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    p.waitForStarted();
    QElapsedTimer clock;
    clock.start();
    while (p.state() != QProcess::NotRunning && clock.elapsed() < 10000)
        QTest::qWait(5);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Real window systems (and sanitizer builds) are slow to show a window: modal windows are waited for
// longer than offscreen.
void whenModal(std::function<void(QWidget*)> action, QWidget* except = nullptr) {
    WhenModal(
        [action = std::move(action)](QWidget* window) {
            // Real keys go to the window the window manager has focused: on a busy machine that comes
            // a moment after the window shows.
            (void)QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
            action(window);
            // A key lost on the way must not leave the test waiting on the window for ever.
            QTimer::singleShot(60000, window, [window] {
                if (window->isVisible())
                    window->close();
            });
        },
        except, 30000);
}

// A failed check returns early from a step run inside a modal window: the window is closed then, so
// that the test ends instead of waiting on it.
struct CloseWhenFailed {
    QWidget* window;
    ~CloseWhenFailed() {
        if (QTest::currentTestFailed() && window->isVisible())
            window->close();
    }
};

// A dark desktop theme with a large font (as qt6ct's "darker" with a bigger font): light text on dark
// windows, and 15-point text wherever a window takes the theme's font.
struct DarkTheme {
    QPalette before = QApplication::palette();
    QFont beforeFont = QApplication::font();
    DarkTheme() {
        QFont large = beforeFont;
        large.setPointSize(15);
        QApplication::setFont(large);
        QPalette dark = before;
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
        dark.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(dark);
    }
    ~DarkTheme() {
        QApplication::setPalette(before);
        QApplication::setFont(beforeFont);
    }
};

// Every caption of a window whole inside its control: buttons as large as their text and picture
// need, one-line labels as wide as their text.
void verifyCaptionsFit(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            // The text and picture against the room the style leaves them inside the button's frame.
            QSize need = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
            if (!button->icon().isNull())
                need = QSize(need.width() + button->iconSize().width() + 4,
                             std::max(need.height(), button->iconSize().height()));
            QStyleOptionButton option;
            option.initFrom(button);
            option.features =
                (button->isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None) |
                (button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None);
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(need.width() <= room.width() && need.height() <= room.height(),
                     qPrintable(button->text() + QStringLiteral(": %1×%2 in %3×%4")
                                                     .arg(need.width())
                                                     .arg(need.height())
                                                     .arg(room.width())
                                                     .arg(room.height())));
        } else if (auto* label = qobject_cast<QLabel*>(w);
                   label && !label->text().isEmpty() && !label->wordWrap()) {
            const QSize need = label->sizeHint();
            QVERIFY2(need.width() <= label->width() && label->fontMetrics().height() <= label->height(),
                     qPrintable(label->text() + QStringLiteral(": %1×%2 in %3×%4")
                                                    .arg(need.width())
                                                    .arg(need.height())
                                                    .arg(label->width())
                                                    .arg(label->height())));
        }
    }
}

QString windowId(QWidget* w) {
    return QStringLiteral("0x%1").arg(w->winId(), 0, 16);
}

// The window manager's stacking order, bottom to top.
QList<quint64> stacking() {
    QList<quint64> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    auto it = hex.globalMatch(sh(QStringLiteral("xprop -root _NET_CLIENT_LIST_STACKING")));
    while (it.hasNext())
        ids << it.next().captured().toULongLong(nullptr, 16);
    return ids;
}

bool stackedAbove(QWidget* upper, QWidget* lower) {
    const QList<quint64> ids = stacking();
    const auto u = ids.indexOf(upper->winId());
    const auto l = ids.indexOf(lower->winId());
    return u >= 0 && l >= 0 && u > l;
}

// What the window manager frames the window with: "0, 0, 0, 0" for no frame at all.
QString frameExtents(QWidget* w) {
    return sh(QStringLiteral("xprop -id %1 _NET_FRAME_EXTENTS").arg(windowId(w)))
        .section(QLatin1Char('='), 1)
        .trimmed();
}

// Where a user would click to reach `target` through `cover`: the middle of their overlap.
QPoint overlapCentre(QWidget* cover, QWidget* target) {
    const QRect t(target->mapToGlobal(QPoint(0, 0)), target->size());
    return cover->geometry().intersected(t).center();
}

void click(const QPoint& at) {
    sh(QStringLiteral("xdotool mousemove %1 %2 click 1").arg(at.x()).arg(at.y()));
}

void key(const QString& keys) {
    sh(QStringLiteral("xdotool key --delay 60 ") + keys);
}

// Alt and a letter held down as long as a person might, long enough for the letter to repeat.
void hold(const QString& letter) {
    sh(QStringLiteral("xdotool keydown alt keydown %1; sleep 0.9; xdotool keyup %1 keyup alt").arg(letter));
}

// Screenshots for a person to look at, when VT_SCREENSHOTS names a folder.
void screenshot(const QString& name) {
    const QString folder = qEnvironmentVariable("VT_SCREENSHOTS");
    if (!folder.isEmpty())
        sh(QStringLiteral("import -window root '%1/%2.png'").arg(folder, name));
}

// The caption a window shows: the window manager's, or the one it draws itself.
void verifyCaptionWithoutButtons(QWidget* w) {
    QCOMPARE(frameExtents(w), QStringLiteral("0, 0, 0, 0"));
    auto* caption = w->findChild<QLabel*>(QStringLiteral("caption"), Qt::FindDirectChildrenOnly);
    QVERIFY(caption);
    QCOMPARE(caption->text(), w->windowTitle());
    QVERIFY(caption->fontMetrics().horizontalAdvance(w->windowTitle()) + caption->indent() <=
            caption->width());
}

// What a screen reader hears: the accessibility events of the desktop, one line each
// ("event, role, name, data, detail, text, description", tab-separated), from a listener on the accessibility
// bus.
class ScreenReader {
public:
    ScreenReader() {
        const QString script = qEnvironmentVariable("VT_ATSPI_LISTENER");
        // The program finds the accessibility bus a moment after it starts.
        if (script.isEmpty() || !QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000)) {
            m_problem =
                QStringLiteral("no accessibility bus (run me with run-desktop.sh under dbus-run-session)");
            return;
        }
        // The system's Python has the distribution's AT-SPI binding; a Python of one's own may not.
        const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                   ? QStringLiteral("/usr/bin/python3")
                                   : QStringLiteral("python3");
        m_listener.start(python, {script, QStringLiteral("300")});
        const bool ready = QTest::qWaitFor(
            [this] { return m_listener.state() == QProcess::NotRunning || heard().contains("ready"); },
            15000);
        if (!ready || !heard().contains("ready"))
            m_problem = QStringLiteral("no AT-SPI listener: ") + heard().join(QLatin1Char(' ')) +
                        QString::fromLocal8Bit(m_listener.readAllStandardError());
        QTest::qWait(500); // the program's bridge learns of the new listener
    }
    ~ScreenReader() {
        m_listener.kill();
        m_listener.waitForFinished(3000);
    }
    QString problem() const { return m_problem; }
    QStringList heard() {
        m_lines += QString::fromUtf8(m_listener.readAllStandardOutput());
        return m_lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The lines of one kind of event ("object:text-changed:insert" also matches "object:text-changed").
    QList<QStringList> events(const QString& prefix) {
        QList<QStringList> found;
        for (const QString& line : heard())
            if (line.startsWith(prefix))
                found << line.split(QLatin1Char('\t'));
        return found;
    }

    // What a screen reader says of the control that has the focus: its role and its name.
    QString lastFocused() {
        QString last;
        for (const QStringList& e : events(QStringLiteral("object:state-changed:focused")))
            if (e.value(4) == QLatin1String("1"))
                last = e.value(1) + QLatin1Char(' ') + e.value(2);
        return last;
    }

    // The names of the notifications that came up, in order: what a screen reader speaks of them.
    QStringList notifications() {
        QStringList names;
        for (const QStringList& e : events(QStringLiteral("object:state-changed:showing")))
            if (e.value(1) == QLatin1String("notification") && e.value(4) == QLatin1String("1"))
                names << e.value(2);
        return names;
    }

private:
    QProcess m_listener;
    QString m_lines, m_problem;
};

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgram> program;

    void start(const QStringList& students, bool realBoxes = false) {
        program = std::make_unique<TestProgram>(true);
        for (const QString& name : students)
            program->writeFile(QStringLiteral("users/") + name,
                               "[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nControl=0\r\n");
        if (realBoxes)
            SetMessageSink(nullptr);
        program->createWindows();
    }
    static void endSplash() {
        frmsplash->tmrOcultarTimer();
        QVERIFY(QTest::qWaitForWindowActive(frmTela));
        QTest::qWait(300); // the window manager's frame and focus settle
    }

private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
                 "run me under X11 (run-desktop.sh)");
        QVERIFY2(stacking().size() >= 0 &&
                     !sh(QStringLiteral("xprop -root _NET_SUPPORTING_WM_CHECK")).contains("not found"),
                 "no window manager");
    }
    void cleanup() {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->hide();
        program.reset();
        QTest::qWait(100);
    }

    // The splash, with an error box of the roster's creation (no users folder can be made).
    void splash() {
        program = std::make_unique<TestProgram>(true);
        program->writeFile(QStringLiteral("users"), "a file where the folder should be");
        SetMessageSink(nullptr);
        bool above = false;
        QString text;
        whenModal([&](QWidget* box) {
            QTest::qWait(500);
            screenshot(QStringLiteral("splash-error"));
            text = qobject_cast<QMessageBox*>(box) ? static_cast<QMessageBox*>(box)->text() : QString();
            verifyCaptionsFit(box);
            above = stackedAbove(box, frmsplash);
            key(QStringLiteral("Return"));
        });
        program->createWindows();
        QVERIFY(text.startsWith(QStringLiteral("Cannot create directory")));
        QVERIFY2(above, "the error box is behind the splash");
        QCOMPARE(frameExtents(frmsplash), QStringLiteral("0, 0, 0, 0"));
    }

    // A start whose named data folder cannot be used: its notice comes above the splash, and when the
    // splash gives way to the roster, the roster's balloon leaves the notice's button clear.
    void dataFolderNotice() {
        program = std::make_unique<TestProgram>(true);
        SetMessageSink(nullptr);
        DataPlaces places;
        places.mode = DataMode::Named;
        places.notice =
            "A pasta de dados \"/srv/velotecla\", indicada em VELOTECLA_DADOS, não existe (a pasta "
            "do servidor não está montada?). Os alunos e resultados deste usuário ficam em "
            "/home/ana/.local/share/velotecla. Avise o técnico do laboratório.";
        bool above = false, clear = false;
        QString text;
        whenModal([&](QWidget* box) {
            CloseWhenFailed closing{box};
            QTest::qWait(500);
            screenshot(QStringLiteral("data-folder-notice"));
            text = static_cast<QMessageBox*>(box)->text();
            above = stackedAbove(box, frmsplash);
            frmsplash->tmrOcultarTimer();
            QTest::qWait(800);
            screenshot(QStringLiteral("data-folder-notice-roster"));
            const QWidget* ok = static_cast<QMessageBox*>(box)->button(QMessageBox::Ok);
            clear = !frmTela->ohint->IsShowing() ||
                    !frmTela->ohint->geometry().intersects(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()));
            key(QStringLiteral("Return"));
        });
        program->createWindows();
        TellDataPlaces(places, false);
        QTRY_VERIFY_WITH_TIMEOUT(!text.isEmpty(), 30000);
        QCOMPARE(text, FromUtf8(places.notice));
        QVERIFY2(above, "the notice is behind the splash");
        QVERIFY2(clear, "the balloon covers the notice's button");
    }

    void roster() {
        DarkTheme theme;
        start({QStringLiteral("ana"), QStringLiteral("bruno"), QStringLiteral("gugu")});
        ScreenReader reader;
        endSplash();
        screenshot(QStringLiteral("roster"));
        verifyCaptionWithoutButtons(frmTela);
        verifyCaptionsFit(frmTela);

        // Screen readers: the list has its label's name; the balloon on screen reads as its texts.
        QCOMPARE(frmTela->lstUsr->accessibleName(), QStringLiteral("Alunos Cadastrados:"));
        QAccessibleInterface* balloon = QAccessible::queryAccessibleInterface(frmTela->ohint);
        QVERIFY(balloon && frmTela->ohint->IsShowing());
        QCOMPARE(balloon->text(QAccessible::Name), QStringLiteral("!!! Selecione o Aluno !!!"));
        QCOMPARE(balloon->text(QAccessible::Description),
                 QStringLiteral("Clique aqui para\nSelecionar o Aluno."));
        if (reader.problem().isEmpty())
            QTRY_VERIFY2(reader.notifications().contains(QStringLiteral("!!! Selecione o Aluno !!!")),
                         qPrintable(reader.notifications().join(QLatin1Char('/'))));

        // Rows tall enough for descenders; dark names on the fixed light background.
        QListWidget* list = frmTela->lstUsr;
        QVERIFY(list->visualItemRect(list->item(0)).height() >= list->fontMetrics().height());
        QVERIFY(list->palette().color(QPalette::Text).lightness() < 100);

        // A click on a student, then Enter in the list presses "Fazer Aulas deste Aluno".
        const QRect row = list->visualItemRect(list->item(2));
        click(list->viewport()->mapToGlobal(row.center()));
        QTRY_COMPARE(frmTela->SelectedName(), QStringLiteral("gugu"));
        QTRY_VERIFY(frmTela->ohint->IsShowing());
        QCOMPARE(frmTela->ohint->HintTitle(), QStringLiteral("!!! Escolher Aula !!!"));
        screenshot(QStringLiteral("roster-balloon"));

        // The balloon covers buttons; a click on it reaches the button under it.
        const QPoint through = overlapCentre(frmTela->ohint, frmTela->btnEditUser);
        QVERIFY(frmTela->ohint->geometry().contains(through));
        program->questions.clear();
        click(through);
        QTRY_COMPARE(program->questions.size(), 1);
        QVERIFY(program->questions[0].startsWith(QStringLiteral("Deseja Realmente alterar")));

        bool opened = false;
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        whenModal([&](QWidget* dialog) {
            opened = dialog == frmPassWord;
            key(QStringLiteral("Escape"));
        });
        key(QStringLiteral("Return"));
        QTRY_VERIFY2(opened, "Enter in the list did not press btnSel");
        QTRY_VERIFY(!frmPassWord->isVisible());

        // Tabbing into the list, a screen reader hears the student selected there, not only the list.
        if (reader.problem().isEmpty()) {
            frmTela->btnExit->setFocus();
            QTRY_VERIFY(frmTela->btnExit->hasFocus());
            QTRY_COMPARE(reader.lastFocused(), QStringLiteral("push button Sair"));
            while (!list->hasFocus())
                key(QStringLiteral("Tab"));
            QTRY_COMPARE(reader.lastFocused(), QStringLiteral("list item gugu"));
        }
    }

    void accessDialog() {
        DarkTheme theme;
        start({QStringLiteral("ana")}, true);
        WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
        endSplash();
        frmTela->lstUsr->setCurrentRow(0);
        bool boxAbove = false;
        QString message;
        whenModal([&](QWidget* dialog) {
            CloseWhenFailed closing{dialog};
            QTest::qWait(300);
            screenshot(QStringLiteral("access-dialog"));
            verifyCaptionWithoutButtons(dialog);
            verifyCaptionsFit(dialog);
            QCOMPARE(frmPassWord->txtName->accessibleName(), QStringLiteral("Usuário:"));
            QCOMPARE(frmPassWord->txtPassWord->accessibleName(), QStringLiteral("Senha:"));
            // OK with an empty password: the message box comes above the dialog.
            whenModal(
                [&](QWidget* box) {
                    CloseWhenFailed closing{box};
                    QTest::qWait(300);
                    message = static_cast<QMessageBox*>(box)->text();
                    screenshot(QStringLiteral("message-box"));
                    verifyCaptionWithoutButtons(box);
                    verifyCaptionsFit(box);
                    boxAbove = stackedAbove(box, frmPassWord);
                    key(QStringLiteral("Return"));
                    QTRY_VERIFY(!box->isVisible());
                    key(QStringLiteral("Escape"));
                },
                dialog);
            key(QStringLiteral("Return"));
        });
        RequestAccess(TAccessMode::Lesson);
        QCOMPARE(message, QStringLiteral("Você deve colocar uma senha para este usuário."));
        QVERIFY2(boxAbove, "the message box is behind its dialog");
    }

    // A password typed, changed and shown again in the access dialog and the editor: the screen
    // reader hears stars, never a character of it.
    void passwordsNotSpoken() {
        start({});
        program->writeFile(QStringLiteral("users/ana"),
                           "[Definition]\r\nControl=0\r\nInformation=" +
                               QByteArray::fromStdString(EncodePassword("9753")) + "\r\n");
        frmTela->ReloadList();
        WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
        ScreenReader reader;
        if (!reader.problem().isEmpty())
            QSKIP(qPrintable(reader.problem()));
        endSplash();
        frmTela->lstUsr->setCurrentRow(0);
        whenModal([&](QWidget* dialog) {
            CloseWhenFailed closing{dialog};
            frmPassWord->txtPassWord->setFocus();
            QTest::qWait(200);
            key(QStringLiteral("1 3 5 7 BackSpace"));
            QTest::qWait(300);
            key(QStringLiteral("Escape"));
        });
        RequestAccess(TAccessMode::Lesson);
        program->answers.push_back(true); // leave the editor without saving
        whenModal([&](QWidget* editor) {
            CloseWhenFailed closing{editor};
            frmUser->txtPassWord->setFocus();
            QTest::qWait(200);
            key(QStringLiteral("End BackSpace 8 6"));
            QTest::qWait(300);
            key(QStringLiteral("Escape"));
        });
        EditStudent(program->path(QStringLiteral("users/ana")));
        QTest::qWait(1000);
        const QList<QStringList> texts = reader.events(QStringLiteral("object:text-changed"));
        int fromPasswordBoxes = 0;
        for (const QStringList& e : texts) {
            QVERIFY2(e.size() >= 4, qPrintable(e.join(QLatin1Char('|'))));
            static const QRegularExpression secret(QStringLiteral("[1356789]"));
            QVERIFY2(!e[3].contains(secret) && !e.value(5).contains(secret),
                     qPrintable(e.join(QLatin1Char('|'))));
            if (e[1] == QLatin1String("password text")) {
                ++fromPasswordBoxes;
                QVERIFY2(QRegularExpression(QStringLiteral("^\\**$")).match(e[3]).hasMatch(),
                         qPrintable(e.join(QLatin1Char('|'))));
            }
        }
        // Typing, Backspace and the stored password shown: events that said the characters before.
        if (fromPasswordBoxes < 8)
            qDebug().noquote() << reader.heard().join(QLatin1Char('\n'));
        QVERIFY2(fromPasswordBoxes >= 8, "too few of the password boxes' events heard");
    }

    // An access key pressed in a window on top of the roster acts there only: the key, held until it
    // repeats, is not delivered again to the roster when its window closes.
    void accessKeys() {
        start({}, true);
        SetPromptAnswerer({}); // real questions too
        program->writeFile(QStringLiteral("users/ana"),
                           "[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nControl=0\r\n");
        frmTela->ReloadList();
        endSplash();
        frmTela->lstUsr->setCurrentRow(0);
        // Every modal window seen, by name, in order; any other than the expected ones is closed.
        QStringList seen;
        QStringList expected;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            const QString name = modal->objectName().isEmpty() ? modal->windowTitle() : modal->objectName();
            if (seen.isEmpty() || seen.back() != name)
                seen << name;
            if (!expected.contains(name))
                modal->close();
        });
        watch.start(20);
        auto unexpected = [&] {
            QStringList others;
            for (const QString& name : seen)
                if (!expected.contains(name))
                    others << name;
            return others;
        };

        // "Sair da Aula" by Alt+S in the catalogue; the roster has "Sair" on Alt+S.
        expected = {QStringLiteral("frmPassWord"), QStringLiteral("frmAulas")};
        whenModal([](QWidget* access) { QTest::keyClick(access, Qt::Key_Return); });
        whenModal([](QWidget*) { hold(QStringLiteral("s")); }, frmPassWord);
        frmTela->btnSelClick();
        QTest::qWait(1000);
        QCOMPARE(unexpected().join(QStringLiteral(" / ")), QString());
        QVERIFY(frmTela->isVisible());

        // "Salvar" by Alt+S in the editor.
        seen.clear();
        expected = {QStringLiteral("frmUser")};
        whenModal([](QWidget*) {
            frmUser->txtName->setFocus();
            key(QStringLiteral("z e c a Tab 1"));
            hold(QStringLiteral("s"));
        });
        NewStudent();
        QTest::qWait(1000);
        QCOMPARE(unexpected().join(QStringLiteral(" / ")), QString());
        QVERIFY(QFile::exists(program->path(QStringLiteral("users/zeca"))));

        // Five quick Alt+F: the first opens the access dialog, the others type nothing into it.
        seen.clear();
        frmTela->lstUsr->setCurrentRow(0);
        frmTela->activateWindow();
        QTRY_VERIFY(frmTela->isActiveWindow());
        expected = {QStringLiteral("frmPassWord")};
        QString typed = QStringLiteral("?");
        whenModal([&](QWidget* access) {
            QTest::qWait(800);
            typed = frmPassWord->txtPassWord->text();
            access->close();
        });
        sh(QStringLiteral("xdotool key --delay 40 alt+f alt+f alt+f alt+f alt+f"));
        QTRY_VERIFY(!frmPassWord->isVisible());
        QCOMPARE(typed, QString());

        // The roster's exit question answered No by Alt+N; the roster has "Novo Aluno" on Alt+N.
        seen.clear();
        frmTela->activateWindow();
        QTRY_VERIFY(frmTela->isActiveWindow());
        expected = {ConfirmExitTitle()};
        whenModal([](QWidget*) { hold(QStringLiteral("n")); });
        key(QStringLiteral("alt+s"));
        QTest::qWait(1000);
        QCOMPARE(unexpected().join(QStringLiteral(" / ")), QString());
        QVERIFY(frmTela->isVisible());
    }

    // Three openings; each time Tab reaches the groups and the arrows choose "Apenas Aluno" and "ABNT II".
    void editor() {
        DarkTheme theme;
        start({});
        endSplash();
        QList<int> levels, layouts;
        for (int opening = 0; opening < 3; ++opening) {
            whenModal([&](QWidget* editor) {
                CloseWhenFailed closing{editor};
                QTest::qWait(300);
                if (opening == 0) {
                    screenshot(QStringLiteral("editor"));
                    verifyCaptionWithoutButtons(frmUser);
                    verifyCaptionsFit(frmUser);
                    QCOMPARE(frmUser->txtName->accessibleName(), QStringLiteral("Nome do Aluno:"));
                    QCOMPARE(frmUser->txtPassWord->accessibleName(), QStringLiteral("Senha de Acesso:"));
                }
                key(QStringLiteral("Tab Tab Down Tab Down"));
                QTest::qWait(100);
                levels << frmUser->opcUSer->ItemIndex();
                layouts << frmUser->opcKeyboard->ItemIndex();
                key(QStringLiteral("Escape"));
            });
            NewStudent();
        }
        QCOMPARE(levels, (QList<int>{1, 1, 1}));
        QCOMPARE(layouts, (QList<int>{1, 1, 1}));
    }

    void about() {
        DarkTheme theme;
        start({});
        endSplash();
        whenModal([&](QWidget* box) {
            CloseWhenFailed closing{box};
            QTest::qWait(300);
            screenshot(QStringLiteral("about"));
            verifyCaptionWithoutButtons(box);
            verifyCaptionsFit(box);
            // "OK" stays dark on its fixed light strip whatever the theme.
            QVERIFY(qGray(frmSobre->SpeedButton1->palette().color(QPalette::ButtonText).rgb()) < 0x60);
            key(QStringLiteral("Escape"));
        });
        frmTela->BitBtn1->click();
        QVERIFY(!frmSobre->isVisible());
    }

    // Closing the catalogue while the diploma's preview is open, then opening the catalogue again.
    void catalogue() {
        DarkTheme theme;
        start({});
        program->writeFile(
            QStringLiteral("users/ana"),
            "[Aula1]\r\nHabilitado=1\r\n[Aula2]\r\nHabilitado=1\r\n[Aula3]\r\nHabilitado=1\r\n[Aula24]\r\n"
            "Habilitado=1\r\n[Aula25]\r\nHabilitado=1\r\n[Config]\r\nAulaAtual=23\r\n");
        frmTela->ReloadList();
        endSplash();
        frmTela->lstUsr->setCurrentRow(0);
        bool previewShown = false;
        int catalogues = 0;
        QStringList focused;
        auto onCatalogue = [&](QWidget* modal) {
            ++catalogues;
            QTest::qWait(300);
            // The focus, marked, on the lesson "Fazer esta Aula" starts; a screen reader hears its name.
            QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(frmAulas)->focusChild();
            focused << (focus ? focus->text(QAccessible::Name) : QString());
            if (!frmAulas->testAttribute(Qt::WA_KeyboardFocusChange))
                focused << QStringLiteral("no focus mark");
            if (catalogues == 1) {
                screenshot(QStringLiteral("catalogue"));
                CloseWhenFailed closing{modal};
                verifyCaptionWithoutButtons(frmAulas);
                verifyCaptionsFit(frmAulas);
                // Designed with a close button: its own caption keeps one.
                QVERIFY(frmAulas->findChild<QToolButton*>(QStringLiteral("captionClose")));
                // The diploma's handler waits for its preview: the catalogue is closed meanwhile.
                QTimer::singleShot(1500, [&] {
                    auto* preview = frmAulas->findChild<QDialog*>(QStringLiteral("diplomaPreview"));
                    previewShown = preview && preview->isVisible();
                    screenshot(QStringLiteral("diploma-preview"));
                    frmAulas->close();
                });
                frmAulas->btnDiploma->click();
                return;
            }
            modal->close();
        };
        // Never wait for ever on a preview left open by a fault.
        QTimer rescue;
        rescue.setSingleShot(true);
        connect(&rescue, &QTimer::timeout, [] {
            if (auto* p = frmAulas->findChild<QDialog*>(QStringLiteral("diplomaPreview")))
                p->reject();
        });
        rescue.start(8000);
        whenModal([](QWidget* access) { QTest::keyClick(access, Qt::Key_Return); });
        whenModal(onCatalogue, frmPassWord);
        frmTela->btnSelClick();
        QVERIFY(previewShown);
        QVERIFY2(rescue.isActive(), "the catalogue's showing ended only when the preview closed");
        QVERIFY(!frmAulas->findChild<QDialog*>(QStringLiteral("diplomaPreview")));
        whenModal([](QWidget* access) { QTest::keyClick(access, Qt::Key_Return); });
        whenModal(onCatalogue, frmPassWord);
        frmTela->btnSelClick();
        QCOMPARE(catalogues, 2);
        const QString lesson24 = frmAulas->lstAulaItems[23]->accessibleName();
        QCOMPARE(focused, (QStringList{lesson24, lesson24}));
    }

    // Arrowed or clicked to another lesson, then the About box or the diploma's preview opened and
    // closed: the stored lesson comes back, and the focus, and what a screen reader says, with it.
    void catalogueFocusFollowsTheSelection() {
        ScreenReader reader;
        start({});
        program->writeFile(
            QStringLiteral("users/ana"),
            "[Aula1]\r\nHabilitado=1\r\n[Aula2]\r\nHabilitado=1\r\n[Aula24]\r\nHabilitado=1\r\n"
            "[Aula25]\r\nHabilitado=1\r\n[Config]\r\nAulaAtual=0\r\n");
        frmTela->ReloadList();
        endSplash();
        frmTela->lstUsr->setCurrentRow(0);
        QStringList focused, checked;
        auto note = [&] {
            QTest::qWait(400);
            QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(frmAulas)->focusChild();
            focused << (focus ? focus->text(QAccessible::Name) : QString());
            checked << QString::number(frmAulas->ItemIndex());
        };
        whenModal([](QWidget* access) { QTest::keyClick(access, Qt::Key_Return); });
        whenModal(
            [&](QWidget* catalogue) {
                CloseWhenFailed closing{catalogue};
                QTest::qWait(300);
                key(QStringLiteral("Down")); // to lesson 2
                QTRY_COMPARE(frmAulas->ItemIndex(), 1);
                whenModal([](QWidget*) { key(QStringLiteral("Return")); });
                frmAulas->btnSobre->click();
                note();
                QTest::mouseClick(frmAulas->lstAulaItems[23], Qt::LeftButton);
                QTRY_COMPARE(frmAulas->ItemIndex(), 23);
                QTimer::singleShot(1500, [] {
                    if (auto* p = frmAulas->findChild<QDialog*>(QStringLiteral("diplomaPreview")))
                        p->reject();
                });
                frmAulas->btnDiploma->click();
                note();
                catalogue->close();
            },
            frmPassWord);
        frmTela->btnSelClick();
        // The name a screen reader says (a passed lesson's says so).
        const QString lesson1 = frmAulas->lstAulaItems[0]->accessibleName().isEmpty()
                                    ? frmAulas->lstAulaItems[0]->text()
                                    : frmAulas->lstAulaItems[0]->accessibleName();
        QCOMPARE(checked, (QStringList{QStringLiteral("0"), QStringLiteral("0")}));
        QCOMPARE(focused, (QStringList{lesson1, lesson1}));
        if (!reader.problem().isEmpty())
            return;
        // What the reader says when the catalogue comes back from the About box's "OK" and the
        // preview's "Imprimir": the lesson that "Fazer esta Aula" starts.
        auto spokenAfter = [&](const QString& closedBy) {
            QStringList ins;
            for (const QStringList& e : reader.events(QStringLiteral("object:state-changed:focused")))
                if (e.value(4) == QLatin1String("1"))
                    ins << e.value(2);
            const qsizetype at = ins.lastIndexOf(closedBy);
            return at >= 0 ? ins.value(at + 1) : QStringLiteral("(%1 never focused)").arg(closedBy);
        };
        QTRY_COMPARE(spokenAfter(QStringLiteral("Imprimir")), lesson1);
        QCOMPARE(spokenAfter(QStringLiteral("OK")), lesson1);
    }

    // The class report by keys, as a screen reader hears it: each cell the arrows reach, and a
    // student's page opened by Enter with its summary as the window's description.
    void classReportHeard() {
        DarkTheme theme;
        ScreenReader reader;
        if (!reader.problem().isEmpty())
            QSKIP(qPrintable(reader.problem()));
        program = std::make_unique<TestProgram>(true);
        program->writeFile(QStringLiteral("users/ana"), "[Config]\r\nCharOK=900\r\nTempoTotal=00:10:00\r\n");
        program->writeFile(QStringLiteral("users/bruno"), "[Keyboard]\r\nLayout=1\r\n");
        TfrmRelatorio report;
        report.show();
        QVERIFY(QTest::qWaitForWindowActive(&report));
        QTableView* table = report.tblTurma;
        table->setCurrentIndex(table->model()->index(0, 0));
        table->setFocus();
        QTRY_VERIFY(table->hasFocus());
        // What a reader says of a cell: its role and its text.
        const auto cellHeard = [&](int row, int column) {
            return QStringLiteral("table cell ") + table->model()->index(row, column).data().toString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(reader.lastFocused(), cellHeard(0, 0), 15000);
        key(QStringLiteral("Down Right Right"));
        QTRY_COMPARE(table->currentIndex(), table->model()->index(1, 2));
        QTRY_COMPARE_WITH_TIMEOUT(reader.lastFocused(), cellHeard(1, 2), 15000);

        key(QStringLiteral("Return"));
        TfrmAluno* page = nullptr;
        QTRY_VERIFY((page = report.findChild<TfrmAluno*>()) && page->isActiveWindow());
        QTest::qWait(300);
        screenshot(QStringLiteral("student-page"));
        QString summary = page->lblResumo->text();
        auto pageDescriptions = [&] {
            QStringList found;
            for (const QStringList& e : reader.events(QStringLiteral("window:activate")))
                if (e.value(2) == page->windowTitle())
                    found << e.value(6);
            return found;
        };
        // The listener writes a line break as "\\" and "n"; it is slow to hear a new window's tree.
        QTRY_COMPARE_WITH_TIMEOUT(pageDescriptions(),
                                  QStringList{summary.replace(QLatin1Char('\n'), QStringLiteral("\\n"))},
                                  15000);
    }

    // A planted link met as the catalogue opens: the message about it is not covered by the catalogue's
    // balloon, which the window manager's activation of the catalogue may bring up after the message.
    void linkMessageClearOfTheBalloon() {
        start({}, true);
        program->writeFile(QStringLiteral("users/ana"), "[Aula1]\r\nHabilitado=1\r\n");
        program->writeFile(QStringLiteral("fora/aula1_ana.def"), "[Config]\r\nWordOK=1\r\n");
        QVERIFY(QFile::link(program->path(QStringLiteral("fora/aula1_ana.def")),
                            program->path(QStringLiteral("aulas/aula1_ana.def"))));
        frmTela->ReloadList();
        endSplash();
        frmTela->lstUsr->setCurrentRow(0);
        QString message;
        bool clear = false;
        whenModal([](QWidget* access) { QTest::keyClick(access, Qt::Key_Return); });
        WhenModal(
            [&](QWidget*) {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box || !QTest::qWaitFor([&] { return box->isActiveWindow(); }, 5000))
                    return;
                CloseWhenFailed closing{box};
                QTest::qWait(800); // the catalogue's activation and its balloon come and go
                screenshot(QStringLiteral("link-message"));
                message = box->text();
                const QWidget* ok = box->button(QMessageBox::Ok);
                clear =
                    !frmAulas->ohint->IsShowing() ||
                    !frmAulas->ohint->geometry().intersects(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()));
                key(QStringLiteral("Return"));
                QTRY_VERIFY(!box->isVisible());
                frmAulas->close();
            },
            frmPassWord, 30000);
        frmTela->btnSelClick();
        QVERIFY2(message.contains(QStringLiteral("\"aulas/aula1_ana.def\"")), qPrintable(message));
        QVERIFY2(clear, "the balloon covers the message's button");
    }

    // The diploma's preview by keys: the print button focused and on Ctrl+P; the toolkit's dialogs
    // in Portuguese under the C locale the tests run in.
    void diplomaPreviewByKeys() {
        start({});
        endSplash();
        QString focused, printDialog;
        QTimer::singleShot(0, [&] {
            QDialog* preview = nullptr;
            QTRY_VERIFY((preview = frmTela->findChild<QDialog*>(QStringLiteral("diplomaPreview"))) &&
                        preview->isActiveWindow());
            CloseWhenFailed closing{preview};
            QTest::qWait(300);
            screenshot(QStringLiteral("diploma-preview-keys"));
            if (auto* button = qobject_cast<QToolButton*>(preview->focusWidget()))
                focused = button->accessibleName();
            else
                focused = preview->focusWidget() ? preview->focusWidget()->metaObject()->className() : "none";
            whenModal([&](QWidget* dialog) {
                printDialog = dialog->windowTitle();
                key(QStringLiteral("Escape"));
            });
            key(QStringLiteral("ctrl+p"));
            preview->reject();
        });
        ShowDiploma(frmTela, program->path(QStringLiteral("users/ana")), {}, nullptr);
        QCOMPARE(focused, QStringLiteral("Imprimir"));
        QCOMPARE(printDialog, QStringLiteral("Imprimir"));
    }

    // Real keys in the echo: a Shift held over two shifted characters goes down once (so lesson 19 no longer
    // asks for "R$"), Caps Lock, ABNT2's dead keys, and a wrong word's first wrong key marked.
    void echoOfRealKeys() {
        const auto startTyping = [] {
            QTest::qWait(300);
            key(QStringLiteral("F5"));
            QTRY_VERIFY_WITH_TIMEOUT(ExerciseState.Running, 6000);
        };
        const auto stop = [](ExerciseDriver& d) {
            d.program.answers.push_back(true);
            key(QStringLiteral("Escape"));
        };
        {
            // The old lesson 19, Shift held from R to $: the echo reads right, the word is wrong.
            ExerciseDriver d;
            d.loadLesson(1,
                         {16, 'D', 'E', 'U', 32, 16, 'R', 16, '4', 32, '1', '5', 188, '0', '0', 16, '1', 13},
                         50, "00:10:00", 90);
            d.run([&] {
                startTyping();
                sh(QStringLiteral(
                    "xdotool key --delay 60 shift+d e u space; xdotool keydown shift key --delay 60 r 4 "
                    "keyup shift; xdotool key --delay 60 space 1 5 comma 0 0 shift+1 Return"));
                QTRY_COMPARE(ExerciseState.WordsWrong, 1);
                QCOMPARE(frmExec->txtUserKey->toPlainText(), QStringLiteral("Deu R$ 15,00!\n"));
                stop(d);
            });
        }
        {
            // Lesson 19 as the course ships it, Shift held over each shifted character: every word right.
            const TLessonData nineteen = ReadLessonFile(VT_DATA_DIR "/aulas/aula19.aul");
            ExerciseDriver d;
            d.loadLesson(19, nineteen.Codes, nineteen.WordsToType, "00:10:00", nineteen.MinimumPercent);
            d.run([&] {
                startTyping();
                for (int line = 0; line < 3; ++line)
                    sh(QStringLiteral(
                        "xdotool keydown shift key 4 keyup shift key --delay 60 space 1 5 comma 0 0; "
                        "xdotool keydown shift key 1 keyup shift key Return"));
                QTRY_COMPARE(ExerciseState.WordsRight, 3);
                QCOMPARE(ExerciseState.WordsWrong, 0);
                QCOMPARE(frmExec->txtUserKey->toPlainText(), QStringLiteral("$ 15,00!\n").repeated(3));
                stop(d);
            });
        }
        // "Oi, Ana" on an ABNT2 keyboard.
        ExerciseDriver d;
        d.loadLesson(18, {16, 'O', 'I', 188, 32, 16, 'A', 'N', 'A', 13}, 50, "00:10:00", 90);
        frmKey->ApplyLayout(1);
        frmsplash->hide(); // made with the windows, it would cover the echo in the pictures
        sh(QStringLiteral("setxkbmap br"));
        QString echo;
        QString marked;
        d.run([&] {
            // Caps Lock is a key like the others once the exercise runs: on before it, off within a wrong
            // word.
            key(QStringLiteral("Caps_Lock"));
            startTyping();
            key(QStringLiteral("shift+o i comma space shift+a n a Return"));
            QTRY_COMPARE(ExerciseState.WordsRight, 1);
            screenshot(QStringLiteral("echo-capslock"));
            key(QStringLiteral("shift+o i comma space shift+a m a Caps_Lock Return"));
            QTRY_COMPARE(ExerciseState.WordsWrong, 1);
            screenshot(QStringLiteral("echo-wrong-key"));
            key(QStringLiteral("dead_acute a space dead_tilde a o space dead_acute shift+a Return"));
            QTRY_COMPARE(ExerciseState.WordsWrong, 2);
            screenshot(QStringLiteral("echo-abnt2-accents"));
            echo = frmExec->txtUserKey->toPlainText();
            const QTextDocument* document = frmExec->txtUserKey->document();
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
                for (auto it = block.begin(); !it.atEnd(); ++it)
                    if (it.fragment().charFormat().fontUnderline())
                        marked += it.fragment().text();
            stop(d);
        });
        sh(QStringLiteral("setxkbmap us"));
        QCOMPARE(echo, QStringLiteral("oI, aNA\noI, aMA\n\u00E1 \u00E3o \u00C1\n"));
        QCOMPARE(marked, QStringLiteral("M\u00E1"));
    }

    // The keyboard above the exercise window after the countdown and while typing; the countdown and
    // the clock in whole seconds.
    void exercise() {
        DarkTheme theme;
        ExerciseDriver d;
        ScreenReader reader;
        SetClockSource({}); // the real time of day
        frmCont->tmrCont->setInterval(1000);
        d.loadLesson(1, kAsdModel, 50, "00:10:00", 90);
        qint64 countdownMs = 0;
        QStringList clockLines;
        QElapsedTimer countdown;
        bool aboveAfterCountdown = false, aboveWhileTyping = false;
        connect(frmExec->tmrTempo, &QTimer::timeout, frmExec, [&] { clockLines << frmExec->lblMes->text(); });
        // What a screen reader hears of the countdown: the focused window's name at every number.
        QStringList countdownNames;
        auto countdownName = [&] {
            QAccessibleInterface* window = QAccessible::queryAccessibleInterface(frmCont);
            const QString name =
                window->role() == QAccessible::Dialog ? window->text(QAccessible::Name) : QString();
            if (countdownNames.isEmpty() || countdownNames.back() != name)
                countdownNames << name;
        };
        connect(frmCont->tmrCont, &QTimer::timeout, frmCont, countdownName);
        d.run([&] {
            QTest::qWait(300);
            whenModal(
                [&](QWidget*) {
                    countdownName();
                    QTest::qWait(1500);
                    screenshot(QStringLiteral("countdown"));
                },
                frmExec);
            // Timed from before the start key: never shorter than the countdown itself.
            countdown.start();
            key(QStringLiteral("F5"));
            QTRY_VERIFY_WITH_TIMEOUT(ExerciseState.Running, 6000);
            countdownMs = countdown.elapsed();
            QTest::qWait(300);
            aboveAfterCountdown = stackedAbove(frmKey, frmExec);
            // A held key flashes at every repetition: the picture catches the keyboard lit.
            QTimer::singleShot(1200, [] { screenshot(QStringLiteral("exercise-flash")); });
            sh(QStringLiteral("xdotool keydown a; sleep 1.6; xdotool keyup a"));
            key(QStringLiteral("s d space a s d space shift+a comma"));
            // What real keys type: Shift gives the capital, the comma its own character.
            QVERIFY2(frmExec->txtUserKey->toPlainText().endsWith(QStringLiteral("asd asd A,")),
                     qPrintable(frmExec->txtUserKey->toPlainText()));
            aboveWhileTyping = stackedAbove(frmKey, frmExec);
            QTRY_VERIFY_WITH_TIMEOUT(clockLines.size() >= 3, 5000);
            d.program.answers.push_back(true);
            key(QStringLiteral("Escape"));
        });
        // Nothing of the keyboard left on the screen: the window manager lists no such window.
        QVERIFY(!frmKey->isVisible());
        QTRY_VERIFY(!stacking().contains(frmKey->winId()));
        // The keys: every legend inside its key, dark on the pale keys, and a lit key keeps its dark border.
        for (QLabel* k : frmKey->Keys()) {
            if (!k->isVisibleTo(frmKey))
                continue;
            QVERIFY2(k->fontMetrics().horizontalAdvance(k->text()) + k->indent() <= k->contentsRect().width(),
                     qPrintable(k->objectName() + " " + k->text()));
            QCOMPARE(k->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
        // The statistics drawn at their size on a scaled screen too (a bitmap face is never scaled).
        const QFontInfo statistics(frmExec->txtRes->font());
        QVERIFY2(frmExec->devicePixelRatio() == 1 ||
                     QFontDatabase::isScalable(statistics.family(), statistics.styleName()),
                 qPrintable(statistics.family()));
        QLabel* m = frmKey->Key(QStringLiteral("l49"));
        frmKey->Light({m});
        const QImage lit = m->grab().toImage();
        frmKey->Unlight({m});
        QVERIFY(QColor(lit.pixel(0, lit.height() / 2)).lightness() < 100);
        QVERIFY2(aboveAfterCountdown, "the keyboard is behind the exercise window after the countdown");
        QVERIFY2(aboveWhileTyping, "the keyboard is behind the exercise window while typing");
        QCOMPARE(countdownNames, (QStringList{QStringLiteral("Contagem Regressiva: 3"),
                                              QStringLiteral("Contagem Regressiva: 2"),
                                              QStringLiteral("Contagem Regressiva: 1")}));
        // A reader speaks no window's new name (the toolkit's event carries no text): each number
        // comes up as a notification.
        // (The listener reads each name a moment after its event: one event per number, the last "1".)
        const QStringList numbers =
            reader.notifications().filter(QRegularExpression(QStringLiteral("^[0-9]$")));
        if (reader.problem().isEmpty())
            QVERIFY2(numbers.size() == 3 && numbers.back() == QLatin1String("1"),
                     qPrintable(numbers.join(' ')));
        QVERIFY2(countdownMs >= 2990, qPrintable(QString::number(countdownMs)));
        for (int n = 0; n < 3; ++n)
            QVERIFY2(clockLines[n].startsWith(QStringLiteral("Tempo Decorrido: 00:00:0%1").arg(n + 1)),
                     qPrintable(clockLines.join(" / ")));
    }

    // Enter held down since the last word of a lesson ending in Enter does not close the results.
    void result() {
        DarkTheme theme;
        ExerciseDriver d;
        d.loadLesson(1, {65, 13}, 1, "00:10:00", 50);
        bool openAfterHeldEnter = false, closedByNewEnter = false, statisticsFit = false, rosterBelow = false;
        QRect place;
        d.run([&] {
            QTest::qWait(300);
            key(QStringLiteral("F5"));
            QTRY_VERIFY(ExerciseState.Running);
            key(QStringLiteral("a"));
            // The result window opens inside the held key's handling: it is looked at from there.
            whenModal(
                [&](QWidget* res) {
                    QTest::qWait(3000); // the key held, repeated and let go
                    openAfterHeldEnter = res->isVisible();
                    if (!openAfterHeldEnter)
                        return;
                    place = res->frameGeometry();
                    screenshot(QStringLiteral("result"));
                    rosterBelow = !frmTela->isVisible() || stackedAbove(frmExec, frmTela);
                    // The nine lines of statistics whole in their box, at about the designed 16 pixels.
                    const QFontMetrics m(frmRes->lblRes->font());
                    statisticsFit = 9 * m.lineSpacing() <= frmRes->lblRes->contentsRect().height() &&
                                    m.height() >= frmRes->lblRes->contentsRect().height() / 12;
                    key(QStringLiteral("Return"));
                    QTRY_VERIFY(!res->isVisible());
                    closedByNewEnter = true;
                },
                frmExec);
            sh(QStringLiteral("xdotool keydown Return; sleep 2.5; xdotool keyup Return"));
        });
        QVERIFY2(openAfterHeldEnter, "a held Enter closed the result window");
        QVERIFY(statisticsFit);
        QVERIFY2(rosterBelow, "the results brought the roster up over the lesson");
        QVERIFY(closedByNewEnter);
        // Centred across the screen, 50 px from its top.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(place.top(), screen.top() + 50);
        QVERIFY2(qAbs(place.center().x() - screen.center().x()) <= 1, qPrintable(QString::number(place.x())));
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
