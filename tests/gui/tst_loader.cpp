// The lesson loader: what it fills, what it refuses, and where it stops.
#include "catalogueSupport.h"
#include "core/exercise/exerciseState.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/designScale.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

namespace {
// Closes the exercise window as soon as it is up, noting what stood on the screen then.
struct ExecCloser {
    QTimer timer;
    bool shown = false;
    bool keyboardVisible = false;
    QPoint keyboardAt;
    ExecCloser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QApplication::activeModalWidget() == frmExec && frmExec->isVisible()) {
                shown = true;
                keyboardVisible = frmKey->isVisible();
                keyboardAt = frmKey->pos();
                frmExec->done(0);
            }
        });
        timer.start(5);
    }
};

QColor centreColour(const QLabel* picture) {
    const QImage image = picture->pixmap().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}
bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 8 && std::abs(a.green() - b.green()) < 8 &&
           std::abs(a.blue() - b.blue()) < 8;
}
QByteArray fixture(const QString& name) {
    QFile f(QStringLiteral(VT_TEST_DATA "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestLoader : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgram> program;

    void start(const QStringList& extra = {}) {
        program = std::make_unique<TestProgram>(true);
        // The lessons and pictures of each case are its own, not the shipped course.
        QDir(program->path(QStringLiteral("aulas"))).removeRecursively();
        QDir(program->path(QStringLiteral("images"))).removeRecursively();
        writeJpeg(*program, QStringLiteral("images/default.jpg"), 0x2040C0);
        program->writeFile(QStringLiteral("users/aluno"), profileText(lessonsEnabled(1, 24) << extra));
        program->createWindows();
        program->errors.clear();
        frmAulas->StudentProfilePath = program->path(QStringLiteral("users/aluno"));
    }
    // Loads lesson n from the fixture (none: no lesson file at all); true when the exercise window showed.
    bool load(int n, const QString& lessonFixture, ExecCloser& closer) {
        if (!lessonFixture.isEmpty())
            program->writeFile(QStringLiteral("aulas/aula%1.aul").arg(n),
                               fixture("lessons/" + lessonFixture));
        frmAulas->SetItemIndex(n - 1);
        Guard([] { frmAulas->btnFazerAulaClick(); });
        return closer.shown;
    }
    bool load(int n, const QString& lessonFixture) {
        ExecCloser closer;
        return load(n, lessonFixture, closer);
    }
    QByteArray profile() const { return program->readFile(QStringLiteral("users/aluno")); }
    QString lessonPath(int n) const { return program->path(QStringLiteral("aulas/aula%1.aul").arg(n)); }

private slots:
    void cleanup() { program.reset(); }

    void aLessonFillsTheExerciseWindowAndTheState() {
        start();
        frmExec->txtUserKey->setPlainText(QStringLiteral("left over"));
        ExerciseState.WordsRight = 7; // counters belong to the exercise, not to the loader
        ExerciseState.Running = true;
        // A longer lesson's codes: the loader clears what the new one does not cover.
        std::fill(std::begin(ExerciseState.ModelCodes), std::end(ExerciseState.ModelCodes), 0xFF);
        ExecCloser closer;
        QVERIFY(load(7, "good.aul", closer));
        QVERIFY(program->errors.isEmpty());
        QVERIFY(profile().contains("AulaAtual=6\r\n"));
        QCOMPARE(frmExec->pnlNomeAluno->text(), QStringLiteral("7ª Aula (aluno)"));
        QCOMPARE(frmExec->pnlTitulo->text(), QStringLiteral("Lição de teste"));
        QCOMPARE(frmExec->txtAulaDescri->toPlainText(),
                 QStringLiteral("Digite as letras; depois o espaço.\nSegunda linha; fim."));
        QVERIFY(frmExec->txtAulaDescri->isEnabled());
        QCOMPARE(frmExec->lblMes->text(), QStringLiteral("Utilize a Tecla F1 para Iniciar o Exercicio..."));
        QVERIFY(frmExec->txtUserKey->toPlainText().isEmpty());
        QVERIFY(!frmExec->txtUserKey->isEnabled());
        QVERIFY(near(centreColour(frmExec->imgAula), QColor(0x20, 0x40, 0xC0)));

        QCOMPARE(ExerciseState.StartKey, 112);
        QCOMPARE(ExerciseState.ModelLength, 5);
        const std::uint8_t expected[] = {65, 83, 68, 70, 32};
        QVERIFY(std::equal(expected, expected + 5, ExerciseState.ModelCodes));
        QVERIFY(std::all_of(ExerciseState.ModelCodes + 5, ExerciseState.ModelCodes + 256,
                            [](auto b) { return b == 0; }));
        QCOMPARE(ExerciseState.WordsToType, 10);
        QCOMPARE(ExerciseState.ExpectedTime, 300.0 / 86400.0);
        QCOMPARE(ExerciseState.MinimumPercent, 90);
        QCOMPARE(ExerciseState.WordsRight, 7);
        QVERIFY(ExerciseState.Running);

        // The keyboard stood at its place while the exercise window was up.
        const DesignScale s;
        QVERIFY(closer.keyboardVisible);
        QCOMPARE(closer.keyboardAt, QPoint(s(18), s(336)));
        ExerciseState = TExerciseState{};
    }

    void layoutOneShowsTheCedilla() {
        start({"Keyboard/Layout=1"});
        QVERIFY(load(3, "good.aul"));
        QCOMPARE(frmExec->txtAulaDescri->toPlainText(),
                 QStringLiteral("Digite as letrasç depois o espaço.\nSegunda linhaç fim."));
        QCOMPARE(frmKey->Key(QStringLiteral("l40"))->text(), QStringLiteral("Ç"));
        // The title is never adapted.
        QCOMPARE(frmExec->pnlTitulo->text(), QStringLiteral("Lição de teste"));
    }

    void theLessonsOwnPictureComesFirst() {
        start();
        writeJpeg(*program, QStringLiteral("images/aula3.jpg"), 0xC02020);
        QVERIFY(load(3, "good.aul"));
        QVERIFY(near(centreColour(frmExec->imgAula), QColor(0xC0, 0x20, 0x20)));
        QVERIFY(load(4, "good.aul"));
        QVERIFY(near(centreColour(frmExec->imgAula), QColor(0x20, 0x40, 0xC0)));
        // A few hundred bytes whose header claims 8192 x 8192 pixels: decoded at 1/8, about the
        // picture box's size (decoded whole, it cost 3.8 s and 525 MB before the lesson).
        writeJpeg(*program, QStringLiteral("images/aula5.jpg"), 0xC02020);
        QByteArray claiming = program->readFile(QStringLiteral("images/aula5.jpg"));
        const auto sof = claiming.indexOf("\xFF\xC0");
        claiming.replace(sof + 5, 4, QByteArray("\x20\x00\x20\x00", 4));
        program->writeFile(QStringLiteral("images/aula5.jpg"), claiming);
        QVERIFY(load(5, "good.aul"));
        QCOMPARE(frmExec->imgAula->pixmap().size(), QSize(1024, 1024));
    }

    void aStartKeyThatIsNoFunctionKeyNamesNone() {
        start();
        // Two blanks in the message.
        QVERIFY(load(1, "f13.aul"));
        QCOMPARE(ExerciseState.StartKey, 100);
        QCOMPARE(frmExec->lblMes->text(), QStringLiteral("Utilize a Tecla  para Iniciar o Exercicio..."));
        ExerciseState = TExerciseState{};
    }

    void failuresStopTheLoaderWithTheirTexts_data() {
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QString>("error");
        const QString refused = QStringLiteral("A aula \"%1\" ");
        QTest::newRow("no lesson file") << ""
                                        << "I/O error 104.";
        QTest::newRow("start key") << "badkey.aul"
                                   << "'F1 ' is not a valid integer value.";
        QTest::newRow("a code") << "badcode.aul"
                                << "'0a6' is not a valid integer value.";
        QTest::newRow("no word count") << "fourlines.aul"
                                       << "'' is not a valid integer value.";
        QTest::newRow("time") << "badtime.aul"
                              << "'25:00' is not a valid time.";
        QTest::newRow("percentage") << "badpercent.aul"
                                    << "'90 ' is not a valid integer value.";
        QTest::newRow("too many codes")
            << "toomany.aul"
            << refused + "tem 257 teclas para digitar; o máximo é 256. A aula não pode ser feita.";
        QTest::newRow("no words") << "zerowords.aul"
                                  << refused +
                                         "pede 0 palavras para digitar; o número deve ser maior que zero. A "
                                         "aula não pode ser feita.";
    }
    void failuresStopTheLoaderWithTheirTexts() {
        QFETCH(QString, lesson);
        QFETCH(QString, error);
        start();
        ExerciseState.ModelLength = 3;
        QVERIFY(!load(5, lesson));
        QCOMPARE(program->errors, QStringList{error.contains("%1") ? error.arg(lessonPath(5)) : error});
        // What came before the failure stays done; the keyboard was never put up.
        QVERIFY(profile().contains("AulaAtual=4\r\n"));
        QCOMPARE(frmExec->pnlNomeAluno->text(), QStringLiteral("5ª Aula (aluno)"));
        QCOMPARE(frmKey->pos(), QPoint(10000, 10000));
        if (lesson == QLatin1String("toomany.aul"))
            QCOMPARE(ExerciseState.ModelLength, 3); // nothing of a refused text is stored
        ExerciseState = TExerciseState{};
    }

    void pictureAndLayoutFailures() {
        start({"Keyboard/Layout=abnt"});
        QVERIFY(!load(2, "good.aul"));
        QCOMPARE(program->errors, QStringList{"'abnt' is not a valid integer value."});
        QCOMPARE(frmExec->pnlTitulo->text(), QStringLiteral("Lição de teste")); // step 6 done, step 7 failed

        program->errors.clear();
        program->writeFile("images/aula2.jpg", fixture("images/broken.jpg"));
        QVERIFY(!load(2, "good.aul"));
        QCOMPARE(program->errors, QStringList{"Not a JPEG file: starts with 0x89 0x50."});

        program->errors.clear();
        QFile::remove(program->path("images/default.jpg"));
        QVERIFY(!load(3, "good.aul"));
        QCOMPARE(program->errors, QStringList{"Cannot open file \"" + program->path("images/default.jpg") +
                                              "\". No such file or directory."});
        QVERIFY(profile().contains("AulaAtual=2\r\n"));
        QCOMPARE(frmExec->pnlNomeAluno->text(), QStringLiteral("3ª Aula (aluno)"));

        // A link planted for images/ (to pictures that are there): one error, saying so in Portuguese.
        program->errors.clear();
        program->writeFile("fora/default.jpg", "never read");
        QVERIFY(QDir(program->path("images")).removeRecursively());
        QVERIFY(QFile::link(program->path("fora"), program->path("images")));
        QVERIFY(!load(3, "good.aul"));
        QCOMPARE(program->errors.size(), 1);
        QVERIFY2(program->errors[0].startsWith("A entrada \"images\" da pasta de dados"),
                 qPrintable(program->errors[0]));
        QVERIFY(program->errors[0].contains(QStringLiteral("é um link (atalho)")));
        QCOMPARE(program->messages, QStringList{});
    }
};

QTEST_MAIN(TestLoader)
#include "tst_loader.moc"
