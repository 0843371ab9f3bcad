// The exercise window typed through: start key, countdown, keys, result window, Enter.
#include "exerciseDriver.h"

#include "windows/course/uRes.h"
#include "windows/widgets/designScale.h"

#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {
// Types the last word so that it ends `seconds` after the start, and answers the result window with
// Enter; its verdict.
QString lastWordAfter(ExerciseDriver& d, int seconds, QString* keys = nullptr) {
    QString verdict;
    d.type({Qt::Key_A, Qt::Key_S, Qt::Key_D});
    d.now = ExerciseState.StartTime + seconds * kSecond;
    WhenModal(
        [&](QWidget* res) {
            verdict = frmRes->lblOK->text();
            if (keys)
                *keys = frmRes->lblTeclas->text();
            QTest::keyClick(res, Qt::Key_Return);
        },
        frmExec);
    d.press(Qt::Key_Space);
    return verdict;
}
} // namespace

class TestExercise : public QObject {
    Q_OBJECT
private slots:
    void aWholeLessonTwiceThroughTheWindows();
    void keysBeforeTheStartAreOnlyFlashed();
    void escapeBeforeTheStartClosesWithoutAQuestion();
    void escapeWhileRunningAsksAndSavesNothing();
    void tabShiftCapsLockAndBackspaceAreKeysLikeTheOthers();
    void theClockLineAndTheStatistics();
    void keysArrivingDuringFlashesAreJudgedInOrder();
    void theEchoShowsWhatTheLayoutTypesAndKeepsWordsWhole();
};

void TestExercise::aWholeLessonTwiceThroughTheWindows() {
    VT_SLOW_TEST();
    ExerciseDriver d;
    d.loadLesson(3, kAsdModel, 12, "00:01:00", 90);
    QStringList verdicts;
    QString keys;
    double startSeen = 0;
    d.run([&] {
        // The start time is taken when the countdown has closed, not when the start key went down.
        WhenModal([&](QWidget*) { d.now += 3 * kSecond; }, frmExec);
        d.press(Qt::Key_F5);
        startSeen = ExerciseState.StartTime;
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), frmExec, 5000); // focus handed back
        QCOMPARE(frmExec->lblMes->text(), QStringLiteral("Utilize a Tecla \"ESC\" para Sair"));
        d.press(Qt::Key_Space); // a space first: one wrong letter, one wrong word
        for (int i = 0; i < 5; ++i)
            d.word();
        d.press(Qt::Key_Space);
        for (int i = 0; i < 4; ++i)
            d.word();
        verdicts << lastWordAfter(d, 50);
    });
    QCOMPARE(startSeen, 0.5 + 3 * kSecond);
    QVERIFY(!frmExec->isVisible());
    QVERIFY(!ExerciseState.Running);
    QCOMPARE(verdicts, QStringList{QStringLiteral("!!! Parabéns - Você atingiu o desejado !!!")});
    QCOMPARE(d.program.readFile(QStringLiteral("aulas/aula3_ana.def")),
             QByteArray("[Config]\r\nWordOK=10\r\nWordErr=2\r\nCharOK=40\r\nCharErr=2\r\n"
                        "TempoTotal=00:00:50\r\nPorcent=97\r\n"));
    QCOMPARE(d.totals(QStringLiteral("users/ana")), QStringList({"10", "2", "40", "2", "00:00:50", "97"}));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Aula4", "Habilitado"), QStringLiteral("1"));
    QCOMPARE(d.soundFiles(),
             QStringList({"nono1.wav", "great.wav", "nono0.wav", "great.wav", "ok.wav", "stop", "stop"}));

    // Second attempt: 32 right and 8 wrong letters (80 %) in 75 s fail; the average falls to 88.
    d.sound.Calls.clear();
    d.loadLesson(3, kAsdModel, 12, "00:01:00", 90);
    d.program.writeFile(QStringLiteral("users/ana"), "[Aula1]\r\nHabilitado=1\r\n[Aula3]\r\nHabilitado=1\r\n"
                                                     "[Config]\r\nWordOK=10\r\nWordErr=2\r\nCharOK=40\r\n"
                                                     "CharErr=2\r\nTempoTotal=00:00:50\r\nPorcent=97\r\n");
    d.run([&] {
        d.press(Qt::Key_F5);
        QCOMPARE(frmCont->lblcont->text(), QStringLiteral("0"));
        d.type({Qt::Key_F, Qt::Key_F, Qt::Key_F, Qt::Key_F}); // dropped: four wrong letters, no word
        for (int i = 0; i < 4; ++i)
            d.press(Qt::Key_Space);
        for (int i = 0; i < 7; ++i)
            d.word();
        verdicts << lastWordAfter(d, 75, &keys);
    });
    // Which keys went wrong, on the result window and in the history: F typed for A, S and D, then each
    // forgotten three times; the extra F put on the space.
    QCOMPARE(keys,
             QStringLiteral("Teclas mais erradas: A (4 vezes: digitou F 1 vez, esquecida 3 vezes), D (4 "
                            "vezes: digitou F 1 vez, esquecida 3 vezes), S (4 vezes: digitou F 1 vez, "
                            "esquecida 3 vezes)."));
    const QString history = QString::fromUtf8(d.program.readFile(QStringLiteral("historico/ana.csv")));
    QVERIFY2(history.contains(QRegularExpression(QStringLiteral(
                 R"(;0;32:12:12:\d+:0:0:0:1 65:12:8:\d+:1:3:0:0:70:1 68:12:8:\d+:1:3:0:0:70:1 )"
                 R"(83:12:8:\d+:1:3:0:0:70:1\r\n$)"))),
             qPrintable(history));
    QCOMPARE(verdicts.last(), QStringLiteral("!!! Treine Mais - Para fazer outra aula !!!"));
    QCOMPARE(d.program.readFile(QStringLiteral("aulas/aula3_ana.def")),
             QByteArray("[Config]\r\nWordOK=18\r\nWordErr=6\r\nCharOK=72\r\nCharErr=10\r\n"
                        "TempoTotal=00:02:05\r\nPorcent=88\r\n"));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "Porcent"), QStringLiteral("88"));
    QCOMPARE(d.soundFiles(), QStringList({"nono1.wav", "nono0.wav", "nono1.wav", "nono0.wav", "great.wav",
                                          "ahah.wav", "stop", "stop"}));
}

void TestExercise::keysBeforeTheStartAreOnlyFlashed() {
    ExerciseDriver d;
    d.loadLesson(1, kAsdModel, 5, "00:01:00", 90);
    d.run([&] {
        d.type({Qt::Key_A, Qt::Key_S, Qt::Key_Space, Qt::Key_Return, Qt::Key_F6, Qt::Key_F12});
        QVERIFY(!ExerciseState.Running);
        QVERIFY(!frmCont->isVisible());
        QCOMPARE(frmExec->txtUserKey->toPlainText(), QString());
        QCOMPARE(ExerciseState.LettersRight + ExerciseState.LettersWrong, 0);
        // Before the start the block shows this lesson's figures, not the last exercise's.
        QVERIFY(frmExec->StatisticsText().startsWith(QStringLiteral("Palavras OK      = 0\r\n")));
        QVERIFY(frmExec->StatisticsText().contains(QStringLiteral("Tempo Decorrido  = 00:00:00")));
        QCOMPARE(frmExec->barD->value(), 90);
        QCOMPARE(frmExec->bar->value(), 0);
        d.press(Qt::Key_Escape);
    });
    QVERIFY(!frmExec->isVisible());
}

void TestExercise::escapeBeforeTheStartClosesWithoutAQuestion() {
    ExerciseDriver d;
    d.loadLesson(1, kAsdModel, 5, "00:01:00", 90);
    d.run([&] { d.press(Qt::Key_Escape); });
    QVERIFY(!frmExec->isVisible());
    QVERIFY(d.program.questions.isEmpty());
    QCOMPARE(d.soundFiles(), QStringList{"stop"});
}

void TestExercise::escapeWhileRunningAsksAndSavesNothing() {
    ExerciseDriver d;
    d.loadLesson(2, kAsdModel, 2, "00:01:00", 90);
    d.run([&] {
        d.press(Qt::Key_F5);
        d.word();
        d.program.answers = {false};
        d.press(Qt::Key_Escape);
        QCOMPARE(d.program.questions, QStringList{QStringLiteral("Deseja Realmente Cancelar esta Aula?")});
        QVERIFY(frmExec->isVisible());
        QVERIFY(ExerciseState.Running);
        QVERIFY(frmExec->tmrTempo->isActive());
        d.type({Qt::Key_A, Qt::Key_S, Qt::Key_D}); // one key short of the last word
        d.program.answers = {true};
        d.press(Qt::Key_Escape);
    });
    QVERIFY(!frmExec->isVisible());
    QVERIFY(!ExerciseState.Running);
    QVERIFY(!frmExec->tmrTempo->isActive());
    QCOMPARE(ExerciseState.WordsRight, 1);
    // The catalogue's look at the lesson left its defaults; the exercise added nothing.
    const QStringList untouched{"0", "0", "0", "0", "00:00:00", "100"};
    const QStringList lesson = d.totals(QStringLiteral("aulas/aula2_ana.def"));
    QVERIFY(lesson == untouched || lesson == QStringList(6, QStringLiteral("(absent)")));
    QCOMPARE(d.value(QStringLiteral("users/ana"), "Config", "WordOK"), QStringLiteral("(absent)"));
    QVERIFY(!QFile::exists(d.program.path(QStringLiteral("historico/ana.csv")))); // no history line either
}

void TestExercise::tabShiftCapsLockAndBackspaceAreKeysLikeTheOthers() {
    ExerciseDriver d;
    QVERIFY(!frmExec->testAttribute(Qt::WA_InputMethodEnabled));
    d.loadLesson(1, {9, 16, 20, 8, 13}, 3, "00:01:00", 90);
    d.run([&] {
        d.press(Qt::Key_F5);
        d.type({Qt::Key_Tab, Qt::Key_Shift, Qt::Key_CapsLock, Qt::Key_Backspace, Qt::Key_Return});
        QCOMPARE(ExerciseState.WordsRight, 1);
        QCOMPARE(ExerciseState.LettersRight, 5);
        // Keys that type no character show nothing.
        QCOMPARE(frmExec->txtUserKey->toPlainText(), QStringLiteral("\n"));
        d.program.answers = {true};
        d.press(Qt::Key_Escape);
    });
}

void TestExercise::theClockLineAndTheStatistics() {
    ExerciseDriver d;
    d.loadLesson(1, kAsdModel, 50, "00:02:00", 85);
    d.run([&] {
        d.press(Qt::Key_F5);
        d.word();
        d.type({Qt::Key_A, Qt::Key_S, Qt::Key_X, Qt::Key_Space});
        d.now += 67 * kSecond;
        frmExec->tmrTempoTimer();
        QCOMPARE(frmExec->lblMes->text(), QStringLiteral("Tempo Decorrido: 00:01:07 - Use \"ESC\" p/ Sair."));
        QCOMPARE(frmExec->StatisticsText(), QStringLiteral("Palavras OK      = 1\r\n"
                                                           "Palavras Erradas =  1\r\n"
                                                           "Letras OK        = 7\r\n"
                                                           "Letras Erradas   = 1\r\n"
                                                           "Tempo Esperado   = 00:02:00\r\n"
                                                           "Tempo Decorrido  = 00:01:07\r\n"
                                                           "---------------------------\r\n"
                                                           "Porcentagem Minima    = 85%\r\n"
                                                           "Porcentagem de Acerto = 87%"));
        QCOMPARE(frmExec->txtRes->toPlainText().count(QLatin1Char('\n')), 8);
        // Readable: the designed face, not shrunk to a few pixels; the box widened beside the bars and
        // the echo, and tall enough for the nine lines.
        const QPlainTextEdit* box = frmExec->txtRes;
        QCOMPARE(box->font().pixelSize(), DesignScale().font(QStringLiteral("Terminal"), 12).pixelSize());
        QVERIFY(box->fontMetrics().horizontalAdvance(QStringLiteral("Porcentagem de Acerto = 100%")) <
                box->viewport()->width());
        QVERIFY(box->fontMetrics().lineSpacing() * 9 < box->viewport()->height());
        QVERIFY(box->geometry().right() < frmExec->txtUserKey->geometry().left());
        QVERIFY(box->geometry().right() < frmExec->bar->geometry().left());
        QCOMPARE(frmExec->bar->value(), 87);
        QCOMPARE(frmExec->barD->value(), 85);
        QCOMPARE(frmExec->txtUserKey->toPlainText(), QStringLiteral("asd asx "));
        // Full screen, whatever the designed size.
        QCOMPARE(frmExec->geometry(), QGuiApplication::primaryScreen()->geometry());
        d.program.answers = {true};
        d.press(Qt::Key_Escape);
    });
}

void TestExercise::keysArrivingDuringFlashesAreJudgedInOrder() {
    ExerciseDriver d;
    d.loadLesson(1, kAsdModel, 10, "00:01:00", 90);
    const std::vector<Qt::Key> keys = {
        Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_Space, Qt::Key_A, Qt::Key_D, Qt::Key_Space, Qt::Key_Space,
        Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_F,     Qt::Key_A, Qt::Key_S, Qt::Key_D,     Qt::Key_Space};
    QTimer typist;
    std::size_t next = 0;
    d.run([&] {
        d.press(Qt::Key_F5);
        // Keys come from a timer at 20 a second, as real keys do, while earlier keys are still flashing.
        typist.setInterval(50);
        QObject::connect(&typist, &QTimer::timeout, [&] {
            if (next < keys.size()) {
                QTest::keyClick(frmExec, keys[next++]);
                return;
            }
            typist.stop();
            d.program.answers = {true};
            d.press(Qt::Key_Escape);
        });
        typist.start();
    });
    QCOMPARE(next, keys.size());
    QCOMPARE(frmExec->txtUserKey->toPlainText(), QStringLiteral("asd ad  asdfasd "));
    QCOMPARE(ExerciseState.WordsRight, 2);
    QCOMPARE(ExerciseState.WordsWrong, 2);
    QCOMPARE(ExerciseState.LettersRight, 12);
    QCOMPARE(ExerciseState.LettersWrong, 4);
}

QTEST_MAIN(TestExercise)
#include "tst_exercise.moc"

void TestExercise::theEchoShowsWhatTheLayoutTypesAndKeepsWordsWhole() {
    // "Caro, aço." and Enter: capitals with Shift, the comma, the key right of L and the full stop, as
    // the student's keyboard prints them (the echo once showed "CARO¼ AºO¾").
    const std::vector<int> model = {16, 'C', 'A', 'R', 'O', 188, 32, 'A', 186, 'O', 190, 13};
    for (int layout : {0, 1}) {
        ExerciseDriver d;
        d.loadLesson(1, model, 40, "00:05:00", 90);
        frmKey->ApplyLayout(layout);
        d.run([&] {
            d.press(Qt::Key_F5);
            QTest::keyClick(frmExec, Qt::Key_C, Qt::ShiftModifier); // Shift goes down first, as a key
            d.type({Qt::Key_A, Qt::Key_R, Qt::Key_O, Qt::Key_Comma, Qt::Key_Space, Qt::Key_A,
                    layout ? Qt::Key_Ccedilla : Qt::Key_Semicolon, Qt::Key_O, Qt::Key_Period,
                    Qt::Key_Return});
            QCOMPARE(frmExec->txtUserKey->toPlainText(),
                     layout ? QStringLiteral("Caro, a\u00E7o.\n") : QStringLiteral("Caro, a;o.\n"));
            QCOMPARE(ExerciseState.WordsRight, 1);
            // A wrong word ("Cx" and Enter): its first wrong key red and underlined, the keys after it plain.
            QTest::keyClick(frmExec, Qt::Key_C, Qt::ShiftModifier);
            d.type({Qt::Key_X, Qt::Key_Return, Qt::Key_A});
            QTextCursor mark(frmExec->txtUserKey->document());
            mark.setPosition(
                static_cast<int>(frmExec->txtUserKey->toPlainText().lastIndexOf(QLatin1Char('x'))) + 1);
            QVERIFY(mark.charFormat().fontUnderline());
            QCOMPARE(mark.charFormat().foreground().color(), QColor(0xC0, 0x00, 0x00));
            mark.movePosition(QTextCursor::End);
            QVERIFY(!mark.charFormat().fontUnderline());
            if (layout == 0) {
                // A word reaching the end of a line moves whole to the next one (a large face: few
                // columns, few keys).
                frmExec->txtUserKey->clear();
                QFont large = frmExec->txtUserKey->font();
                large.setPixelSize(frmExec->txtUserKey->viewport()->width() / 12);
                frmExec->txtUserKey->setFont(large);
                // Groups whose length does not divide the line, so that one would be cut.
                const QPlainTextEdit* box = frmExec->txtUserKey;
                const int columns =
                    box->viewport()->width() / box->fontMetrics().horizontalAdvance(QLatin1Char('M'));
                int letters = 3;
                while (columns % (letters + 1) == 0 || columns % (letters + 1) == letters)
                    ++letters;
                for (int typed = 0; typed < columns + letters + 1; typed += letters + 1) {
                    for (int i = 0; i < letters; ++i)
                        d.press(Qt::Key_A);
                    d.press(Qt::Key_Space);
                }
                const QStringList lines = box->toPlainText().split(QLatin1Char('\n'));
                QVERIFY(lines.size() >= 2);
                const QRegularExpression whole(QStringLiteral("(a{%1} ?)*").arg(letters));
                for (const QString& line : lines)
                    QVERIFY2(whole.match(line).capturedLength() == line.size(), qPrintable(line));
            }
            d.program.answers = {true};
            d.press(Qt::Key_Escape);
        });
    }
}
