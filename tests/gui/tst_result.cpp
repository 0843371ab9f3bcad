// The countdown and the result window: the verdict, the unlocking, the totals, Enter alone.
#include "exerciseDriver.h"

#include "core/exercise/history.h"
#include "core/exercise/judging.h"
#include "windows/course/uReforco.h"
#include "windows/course/uRes.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {
// Puts the counters where the last key of an exercise leaves them and lets the exercise end: the
// result window comes up modally and `atResult` runs on it.
void finishExercise(ExerciseDriver& d, int wordsRight, int wordsWrong, int right, int wrong, double seconds,
                    const std::function<void(QWidget*)>& atResult) {
    StartExercise(ExerciseState, d.now);
    ExerciseState.WordsRight = wordsRight;
    ExerciseState.WordsWrong = wordsWrong;
    ExerciseState.LettersRight = right;
    ExerciseState.LettersWrong = wrong;
    d.now += seconds * kSecond;
    frmExec->RefreshStatistics();
    WhenModal(atResult);
    frmExec->CheckLessonEnd();
}

QColor textColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

// The lines of the student's exercise history after its header; none when there is no file.
QStringList historyLines(const ExerciseDriver& d) {
    QStringList lines = QString::fromUtf8(d.program.readFile(QStringLiteral("historico/ana.csv")))
                            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}

// An ISO 8601 local time with its offset, then the exercise's figures.
bool historyLineIs(const QString& line, const QString& figures) {
    static const QRegularExpression when(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d;)"));
    return when.match(line).hasMatch() && line.mid(26) == figures;
}
} // namespace

class TestResult : public QObject {
    Q_OBJECT
private slots:
    void theWorkedExampleAndASecondAttempt();
    void aFailedLessonUnlocksNothing();
    void passingTheFinalTestUnlocksTheDiploma();
    void onlyEnterClosesTheWindow();
    void aStoredValueThatDoesNotParseStopsTheTotals();
    void aFailedWriteRecordsNoHistory();
    void aReforcoIsAHistoryLineOnly();
    void theCountdownCountsThreeTwoOneThenGo();
    void keysDuringTheCountdownDoNothing();
};

void TestResult::theWorkedExampleAndASecondAttempt() {
    ExerciseDriver d;
    d.loadLesson(3, kAsdModel, 10, "00:01:00", 90);
    QString shown;
    int top = -1, centre = -1;
    finishExercise(d, 10, 0, 40, 2, 50, [&](QWidget* res) {
        shown = frmRes->lblRes->text();
        top = res->y();
        centre = res->frameGeometry().center().x();
        QCOMPARE(frmRes->lblOK->text(), QStringLiteral("!!! Parabéns - Você atingiu o desejado !!!"));
        QCOMPARE(textColour(frmRes->lblOK), QColor(0xFF, 0xFF, 0x00));
        QTest::keyClick(res, Qt::Key_Return);
    });
    QCOMPARE(shown, frmExec->StatisticsText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(shown.contains(QStringLiteral("Tempo Decorrido  = 00:00:50")));
    QCOMPARE(top, QGuiApplication::primaryScreen()->geometry().top() + 50);
    QVERIFY(qAbs(centre - QGuiApplication::primaryScreen()->geometry().center().x()) <= 1);
    QCOMPARE(d.program.readFile(QStringLiteral("aulas/aula3_ana.def")),
             QByteArray("[Config]\r\nWordOK=10\r\nWordErr=0\r\nCharOK=40\r\nCharErr=2\r\n"
                        "TempoTotal=00:00:50\r\nPorcent=97\r\n"));
    QCOMPARE(d.totals(QStringLiteral("users/ana")), QStringList({"10", "0", "40", "2", "00:00:50", "97"}));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Aula4", "Habilitado"), QStringLiteral("1"));
    QCOMPARE(d.soundFiles(), QStringList({"ok.wav", "stop", "stop"}));
    // One history line for the recorded exercise, however often the window is activated.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(frmRes, &activate);
    QCOMPARE(historyLines(d).size(), 1);
    QVERIFY(historyLineIs(historyLines(d)[0], QStringLiteral("3;10;0;40;2;50;95;1;0;")));

    // 80 % the second time, closed with the keypad's Enter (the totals' sums are the lesson result's).
    finishExercise(d, 8, 2, 80, 20, 40, [](QWidget* res) { QTest::keyClick(res, Qt::Key_Enter); });
    QCOMPARE(historyLines(d).size(), 2);
    QVERIFY(historyLineIs(historyLines(d)[1], QStringLiteral("3;8;2;80;20;40;80;0;0;")));
}

void TestResult::aFailedWriteRecordsNoHistory() {
    ExerciseDriver d;
    d.loadLesson(3, kAsdModel, 10, "00:01:00", 90);
    // A folder where the lesson result file belongs (the catalogue's look made the file): nothing of
    // the exercise is kept, and the window says so under the verdict, which stays.
    QFile::remove(d.program.path(QStringLiteral("aulas/aula3_ana.def")));
    QVERIFY(QDir().mkpath(d.program.path(QStringLiteral("aulas/aula3_ana.def"))));
    QString said;
    bool verdictShown = false;
    int grownBy = 0;
    finishExercise(d, 10, 0, 40, 2, 50, [&](QWidget* res) {
        said = frmRes->lblStore->isVisible() ? frmRes->lblStore->text() : QString();
        verdictShown = frmRes->lblOK->text().contains(QStringLiteral("Parabéns"));
        grownBy = res->height() - frmRes->StaticText3->geometry().bottom();
        QTest::keyClick(res, Qt::Key_Return);
    });
    QCOMPARE(said,
             QStringLiteral("O exercício não foi guardado: o arquivo de resultados \"aulas/aula3_ana.def\" "
                            "não pode ser lido (é uma pasta, não um arquivo)."));
    QVERIFY(verdictShown);
    QVERIFY(grownBy > frmRes->lblStore->height()); // under the designed controls, which stay
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "WordOK"),
             QStringLiteral("0")); // the catalogue's default
    QVERIFY(!QFile::exists(d.program.path(QStringLiteral("historico"))));
    // The next exercise whose files take it is recorded, once, and nothing is said.
    QDir(d.program.path(QStringLiteral("aulas/aula3_ana.def"))).removeRecursively();
    finishExercise(d, 10, 0, 40, 0, 30, [&](QWidget* res) {
        said = frmRes->lblStore->isVisible() ? frmRes->lblStore->text() : QString();
        QTest::keyClick(res, Qt::Key_Return);
    });
    QCOMPARE(said, QString());
    QCOMPARE(historyLines(d).size(), 1);
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "WordOK"), QStringLiteral("10"));
}

// A student whose history has F typed wrong: the catalogue offers a Reforço of F, its phrase holds F
// and only the keys taught, and its result is one history line marked as a Reforço, nothing else.
void TestResult::aReforcoIsAHistoryLineOnly() {
    ExerciseDriver d;
    d.loadLesson(7, {65, 32, 70, 65, 68, 65, 13}, 10, "00:01:00", 93); // "a fada", Enter
    frmAulas->RefreshReforco();
    QVERIFY(!frmAulas->btnReforco->isEnabled());
    QVERIFY(frmAulas->btnReforco->accessibleDescription().contains(QStringLiteral("Faça uma aula")));
    const THistoryEntry before{.When = "2026-12-09T14:00:00-03:00",
                               .Lesson = 7,
                               .KeysRight = 60,
                               .KeysWrong = 10,
                               .Keys = {{'A', 30, 30}, {'F', 40, 30, 10, 0, 0, 0, 'G', 10}}};
    d.program.writeFile(QStringLiteral("historico/ana.csv"),
                        QByteArray(kHistoryHeader) + "\r\n" + QByteArray::fromStdString(HistoryLine(before)) +
                            "\r\n");
    frmAulas->RefreshReforco();
    QVERIFY(frmAulas->btnReforco->isEnabled());

    // The catalogue's look stores the totals' defaults, as it does after every exercise.
    frmAulas->FormActivate();
    const QByteArray profile = d.program.readFile(QStringLiteral("users/ana"));
    const QByteArray result = d.program.readFile(QStringLiteral("aulas/aula7_ana.def"));
    LoadReforco(frmAulas->Reforco(), frmAulas->StudentProfilePath.toStdString());
    QCOMPARE(frmExec->pnlTitulo->text(), QStringLiteral("Reforço: F"));
    const std::string model = ModelText(ExerciseState);
    QVERIFY(model.find('F') != std::string::npos);
    QVERIFY(model.find_first_not_of("AFD \r") == std::string::npos); // taught keys only (no G)
    QVERIFY(ExerciseState.WordsToType >= 3);
    finishExercise(d, ExerciseState.WordsToType, 0, 70, 0, 40, [](QWidget* res) {
        QCOMPARE(frmRes->StaticText1->text(), QStringLiteral("Resultados do Reforço"));
        QCOMPARE(frmRes->lblOK->text(), QStringLiteral("F: — (antes 75%)"));
        QTest::keyClick(res, Qt::Key_Return);
    });
    RunningReforco.Active = false;
    QCOMPARE(d.program.readFile(QStringLiteral("users/ana")), profile);
    QCOMPARE(d.program.readFile(QStringLiteral("aulas/aula7_ana.def")), result);
    QCOMPARE(historyLines(d).size(), 2);
    const auto stored = ParseHistoryLine(historyLines(d)[1].toStdString());
    QVERIFY(stored && stored->Reforco && stored->Lesson == 7 && stored->KeysRight == 70);
}

void TestResult::aFailedLessonUnlocksNothing() {
    ExerciseDriver d;
    d.loadLesson(5, kAsdModel, 10, "00:01:00", 90);
    // 100 % but half a second too slow, though both times show as 00:01:00.
    finishExercise(d, 10, 0, 40, 0, 60.5, [](QWidget* res) {
        QCOMPARE(frmRes->lblOK->text(), QStringLiteral("!!! Treine Mais - Para fazer outra aula !!!"));
        QCOMPARE(textColour(frmRes->lblOK), QColor(0xF0, 0x4E, 0x00));
        QTest::keyClick(res, Qt::Key_Return);
    });
    QVERIFY(!d.program.readFile(QStringLiteral("users/ana")).contains("Aula6"));
    QCOMPARE(d.soundFiles(), QStringList({"ahah.wav", "stop", "stop"}));
}

void TestResult::passingTheFinalTestUnlocksTheDiploma() {
    ExerciseDriver d;
    d.loadLesson(24, kAsdModel, 10, "00:01:00", 90);
    finishExercise(d, 10, 0, 40, 0, 60, [](QWidget* res) { QTest::keyClick(res, Qt::Key_Return); });
    QVERIFY(d.program.readFile(QStringLiteral("users/ana")).contains("[Aula25]\r\nHabilitado=1\r\n"));
    QVERIFY(QFile::exists(d.program.path(QStringLiteral("aulas/aula24_ana.def"))));
}

void TestResult::onlyEnterClosesTheWindow() {
    ExerciseDriver d;
    d.loadLesson(1, kAsdModel, 10, "00:01:00", 90);
    bool stillOpen = false;
    finishExercise(d, 10, 0, 40, 0, 30, [&](QWidget* res) {
        for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Space, Qt::Key_A, Qt::Key_Tab, Qt::Key_F4})
            QTest::keyClick(res, k);
        // An Enter held down since the last word repeats; only a new press closes the window.
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
        QApplication::sendEvent(res, &repeated);
        stillOpen = res->isVisible();
        QCOMPARE(d.soundFiles(), QStringList{"ok.wav"}); // the verdict still sounds
        QTest::keyClick(res, Qt::Key_Return);
    });
    QVERIFY(stillOpen);
    QVERIFY(!frmRes->isVisible());
    QCOMPARE(d.soundFiles(), QStringList({"ok.wav", "stop", "stop"}));
}

void TestResult::aStoredValueThatDoesNotParseStopsTheTotals() {
    ExerciseDriver d;
    d.loadLesson(3, kAsdModel, 10, "00:01:00", 90);
    d.program.writeFile(QStringLiteral("users/ana"),
                        "[Aula3]\r\nHabilitado=1\r\n[Config]\r\nWordOK=4\r\nWordErr=x1\r\nCharOK=7\r\n");
    bool open = false;
    finishExercise(d, 10, 0, 40, 2, 50, [&](QWidget* res) {
        open = res->isVisible();
        // Activated again after the error box: the exercise is not recorded a second time.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(res, &activate);
        QTest::keyClick(res, Qt::Key_Return);
    });
    QVERIFY(open);
    // (The other error is the splash picture, which a folder without data lacks.)
    QCOMPARE(d.program.errors.filter(QStringLiteral("x1")),
             QStringList{QStringLiteral("'x1' is not a valid integer value.")});
    // No file takes the exercise: with a value that does not parse every file stays as it was, the
    // unlocking that goes with the totals included.
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "WordOK"), QStringLiteral("4"));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "WordErr"), QStringLiteral("x1"));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "CharOK"), QStringLiteral("7"));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Aula4", "Habilitado"), QStringLiteral("(absent)"));
    QVERIFY(!d.program.readFile(QStringLiteral("aulas/aula3_ana.def")).contains("WordOK=10"));
    QVERIFY(historyLines(d).isEmpty()); // an exercise not wholly recorded is not in the history
}

void TestResult::theCountdownCountsThreeTwoOneThenGo() {
    ExerciseDriver d;
    d.program.writeFile(QStringLiteral("snd/go.wav"), "RIFF");
    frmCont->tmrCont->setInterval(1000);
    for (int round = 0; round < 2; ++round) {
        QStringList digits;
        WhenModal([&](QWidget* cont) {
            frmCont->tmrCont->stop(); // the ticks are driven by hand here
            digits << frmCont->lblcont->text();
            for (int tick = 0; tick < 3; ++tick) {
                frmCont->tmrContTimer();
                digits << frmCont->lblcont->text();
                if (tick < 2 && !cont->isVisible())
                    digits << QStringLiteral("closed early");
            }
        });
        RunCountdown(frmExec);
        QCOMPARE(digits, QStringList({"3", "2", "1", "0"}));
        QVERIFY(!frmCont->isVisible());
    }
    QCOMPARE(d.soundFiles(), QStringList({"go.wav", "go.wav"}));

    // Without the file the countdown ends the same way, silently.
    QFile::remove(d.program.path(QStringLiteral("snd/go.wav")));
    d.sound.Calls.clear();
    frmCont->tmrCont->setInterval(5);
    RunCountdown(frmExec);
    QCOMPARE(frmCont->lblcont->text(), QStringLiteral("0"));
    QVERIFY(d.sound.Calls.empty());
}

void TestResult::keysDuringTheCountdownDoNothing() {
    ExerciseDriver d;
    d.loadLesson(1, kAsdModel, 10, "00:01:00", 90);
    frmCont->tmrCont->setInterval(1000);
    bool countdownOpen = false;
    d.run([&] {
        WhenModal(
            [&](QWidget* cont) {
                for (Qt::Key k : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Return, Qt::Key_F5, Qt::Key_Tab})
                    QTest::keyClick(cont, k);
                countdownOpen = cont->isVisible();
                frmCont->tmrCont->setInterval(5);
            },
            frmExec);
        d.press(Qt::Key_F5);
        QVERIFY(ExerciseState.Running);
        d.program.answers = {true};
        d.press(Qt::Key_Escape);
    });
    QVERIFY(countdownOpen);
    QCOMPARE(ExerciseState.LettersRight + ExerciseState.LettersWrong, 0);
    QCOMPARE(frmExec->txtUserKey->toPlainText(), QString());
}

QTEST_MAIN(TestResult)
#include "tst_result.moc"
