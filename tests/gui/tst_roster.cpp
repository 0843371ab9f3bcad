#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "support/testProgram.h"
#include "windows/course/uAulas.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/course/uPassWord.h"
#include "windows/course/uSobre.h"
#include "windows/course/uSplash.h"
#include "windows/course/uTela.h"
#include "windows/course/uUser.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "windows/widgets/balloonHint.h"

class TestRoster : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgram> program;

    void start(const QStringList& students, const QByteArray& ini = {}) {
        program = std::make_unique<TestProgram>(true);
        for (const QString& name : students)
            program->writeFile(QStringLiteral("users/") + name, "[Aula1]\r\nHabilitado=1\r\n");
        if (!ini.isNull())
            program->writeFile(QStringLiteral("velotecla.INI"), ini);
        program->createWindows();
    }

    static const std::vector<std::pair<const char*, std::function<void()>>>& entryPoints() {
        static const std::vector<std::pair<const char*, std::function<void()>>> all = {
            {"catalogue FormActivate", [] { frmAulas->FormActivate(); }},
            {"catalogue SetItemIndex", [] { frmAulas->SetItemIndex(0); }},
            {"catalogue lstAulaClick", [] { frmAulas->lstAulaClick(); }},
            {"catalogue btnFazerAulaClick", [] { frmAulas->btnFazerAulaClick(); }},
            {"catalogue LoadLesson", [] { frmAulas->LoadLesson(0); }},
            {"catalogue FormCloseQuery", [] { frmAulas->FormCloseQuery(); }},
            {"catalogue ReclaimActivation", [] { frmAulas->ReclaimActivation(); }},
            {"catalogue options", [] { QVERIFY(frmAulas->lstAulaItems.size() == 24); }},
            {"exercise FormActivate", [] { frmExec->FormActivate(); }},
            {"exercise FormKeyDown", [] { frmExec->FormKeyDown(65); }},
            {"exercise JudgeKey", [] { frmExec->JudgeKey(65); }},
            {"exercise RefreshStatistics", [] { frmExec->RefreshStatistics(); }},
            {"exercise CheckLessonEnd", [] { frmExec->CheckLessonEnd(); }},
            {"exercise tmrTempoTimer", [] { frmExec->tmrTempoTimer(); }},
            {"exercise FormCloseQuery", [] { frmExec->FormCloseQuery(); }},
            {"keyboard KeysOf", [] { QCOMPARE(frmKey->KeysOf(65).size(), 1); }},
            {"keyboard ApplyLayout", [] { frmKey->ApplyLayout(1); }},
            {"keyboard FlashKey", [] { FlashKey(13); }},
            {"keyboard ShowKeyboard", [] { ShowKeyboard(18, 336, frmExec); }},
            {"editor PrepareNew", [] { frmUser->PrepareNew(); }},
            {"editor PrepareEdit", [] { frmUser->PrepareEdit(frmAulas->StudentProfilePath); }},
            {"editor cmdSaveClick", [] { frmUser->cmdSaveClick(); }},
            {"editor FormCloseQuery", [] { frmUser->FormCloseQuery(); }},
            {"editor option groups",
             [] {
                 frmUser->opcUSerClick();
                 frmUser->opcKeyboardEnter();
             }},
            {"access Prepare", [] { frmPassWord->Prepare(TAccessMode::Lesson); }},
            {"access btnOKClick", [] { frmPassWord->btnOKClick(); }},
            {"about SpeedButton1Click", [] { frmSobre->SpeedButton1Click(); }},
        };
        return all;
    }

    // What the splash timer does after 3 s.
    static void endSplash() {
        frmsplash->tmrOcultarTimer();
        QVERIFY(QTest::qWaitForWindowActive(frmTela));
    }

    static QStringList listed() {
        QStringList names;
        for (int i = 0; i < frmTela->lstUsr->count(); ++i)
            names << frmTela->lstUsr->item(i)->text();
        return names;
    }

    static bool selectionButtonsEnabled() {
        const bool sel = frmTela->btnSel->isEnabled();
        if (frmTela->btnDel->isEnabled() != sel || frmTela->btnEditUser->isEnabled() != sel)
            return !sel; // disagreeing buttons are a fault of their own
        return sel;
    }

    // Runs a roster action and answers the access dialog with its default button (the built-in
    // administrator passes at once while there is no administrator marker).
    static void withAccessAccepted(const std::function<void()>& action) {
        WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
        action();
    }

private slots:
    void cleanup() { program.reset(); }

    void aMissingSplashPictureIsReportedOnceAndTheRosterStillFollows() {
        program = std::make_unique<TestProgram>(true);
        QFile::remove(program->path("splash.jpg"));
        program->createWindows();
        QCOMPARE(program->errors.size(), 1);
        QVERIFY(program->errors[0].startsWith("Cannot open file \"" + program->path("splash.jpg") + "\". "));
        QVERIFY(program->errors[0].endsWith("."));
        endSplash();
        QVERIFY(frmTela->isVisible());
    }

    void firstStartCreatesUsersAndTheSettingsFile() {
        start({});
        QVERIFY(QFileInfo(program->path("users")).isDir());
        QCOMPARE(program->readFile("velotecla.INI"), QByteArray("[Config]\r\nLastUser=0\r\n"));
        QVERIFY(!frmTela->isVisible());
        QVERIFY(frmsplash->isVisible());
        QCOMPARE(frmTela->lstUsr->count(), 0);
        QVERIFY(!selectionButtonsEnabled());
        QVERIFY(frmTela->btnNew->isEnabled() && frmTela->BitBtn1->isEnabled() &&
                frmTela->btnExit->isEnabled());
        // Start-up pays for the splash and the roster only; the other windows exist but make their
        // controls when first needed.
        QVERIFY(!frmAulas->IsBuilt() && !frmExec->IsBuilt() && !frmKey->IsBuilt() && !frmSobre->IsBuilt() &&
                !frmUser->IsBuilt() && !frmPassWord->IsBuilt());
        endSplash();
        QVERIFY(!frmsplash->isVisible());
        QVERIFY(frmTela->ohint->IsShowing());
        QCOMPARE(frmTela->ohint->HintTarget(), frmTela->btnNew);
        QCOMPARE(frmTela->ohint->HintTitle(), QStringLiteral("!!! Criar Aluno !!!"));
        QCOMPARE(frmTela->ohint->HintText(), QStringLiteral("Clique aqui para\nCriar um Aluno."));
        QCOMPARE(frmTela->ohint->HintDuration(), 5000);
        QVERIFY(program->errors.isEmpty());
    }

    // Each window makes its controls on first need; whatever entry point another window, a tool or a
    // test comes in by, on a window never shown, must find them made (a forgotten one crashed here).
    void everyEntryPointWorksOnAWindowNeverShown_data() {
        QTest::addColumn<int>("entry");
        for (int i = 0; i < int(entryPoints().size()); ++i)
            QTest::newRow(entryPoints()[std::size_t(i)].first) << i;
    }
    void everyEntryPointWorksOnAWindowNeverShown() {
        QFETCH(int, entry);
        start({QStringLiteral("ana")});
        frmAulas->StudentProfilePath = program->path(QStringLiteral("users/ana"));
        // Whatever the entry point opens is closed again as soon as it is up.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->hide();
        });
        closer.start(20);
        entryPoints()[std::size_t(entry)].second();
        closer.stop();
        QVERIFY(frmAulas && frmExec && frmKey && frmUser && frmPassWord && frmSobre);
    }

    void listsOrdinaryFilesSortedWithoutRegardToCase() {
        program = std::make_unique<TestProgram>(true);
        for (const char* name : {"carla", "Bia", "ana", "notes.txt", ".hidden"})
            program->writeFile(QStringLiteral("users/") + QString::fromLatin1(name), "x");
        QDir().mkpath(program->path("users/pasta"));
        // A link planted by another member is no student (its target is read nowhere).
        QFile::link(program->path("users/carla"), program->path("users/zeca"));
        program->createWindows();
        QCOMPARE(listed(), (QStringList{"ana", "Bia", "carla", "notes.txt"}));
    }

    void aRosterFolderThatIsALinkListsNothingAndSaysSo() {
        program = std::make_unique<TestProgram>(true);
        QTemporaryDir elsewhere;
        QFile(elsewhere.filePath("ana")).open(QIODevice::WriteOnly);
        QFile::link(elsewhere.path(), program->path("users"));
        program->createWindows();
        QCOMPARE(listed(), QStringList());
        QVERIFY(!program->messages.filter(QStringLiteral("\"users\" da pasta de dados")).isEmpty());
        QVERIFY(QFileInfo(program->path("users")).isSymLink());
    }

    void restoresTheLastSelection_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("selected");
        QTest::newRow("third") << QByteArray("2") << 2;
        QTest::newRow("first") << QByteArray("0") << 0;
        QTest::newRow("none") << QByteArray("-1") << -1;
        QTest::newRow("outside") << QByteArray("3") << -1;
        QTest::newRow("not a number") << QByteArray("abc") << -1;
        QTest::newRow("hexadecimal") << QByteArray("$1") << 1;
    }
    void restoresTheLastSelection() {
        QFETCH(QByteArray, stored);
        QFETCH(int, selected);
        start({"zeca", "ana", "Maria"}, "[Config]\r\nLastUser=" + stored + "\r\n");
        QCOMPARE(frmTela->SelectedIndex(), selected);
        QCOMPARE(selectionButtonsEnabled(), selected >= 0);
        if (selected == 2)
            QCOMPARE(frmTela->SelectedName(), QStringLiteral("zeca"));
        QVERIFY(program->errors.isEmpty());
        // The restored selection shows no "choose a lesson" balloon; the activation balloon follows.
        QVERIFY(!frmTela->ohint->IsShowing());
        endSplash();
        QCOMPARE(frmTela->ohint->HintTitle(), QStringLiteral("!!! Selecione o Aluno !!!"));
        QCOMPARE(frmTela->ohint->HintTarget(), frmTela->lstUsr);
    }

    void selectingALineEnablesTheButtonsAndPointsAtLessons() {
        start({"ana", "bia"}, "[Config]\r\nLastUser=-1\r\n");
        endSplash();
        QVERIFY(!selectionButtonsEnabled());
        frmTela->lstUsr->setCurrentRow(1);
        QVERIFY(selectionButtonsEnabled());
        QCOMPARE(frmTela->ohint->HintTitle(), QStringLiteral("!!! Escolher Aula !!!"));
        QCOMPARE(frmTela->ohint->HintText(), QStringLiteral("Clique aqui para\nEscolher a Aula a Fazer."));
        QCOMPARE(frmTela->ohint->HintTarget(), frmTela->btnSel);
        QCOMPARE(frmTela->CurrentProfilePath(), program->path("users") + QDir::separator() + "bia");
    }

    void leavingStoresTheSelectionWhateverTheAnswer() {
        start({"ana", "bia"}, "[Config]\r\nLastUser=-1\r\n");
        endSplash();
        program->answers = {false};
        frmTela->btnExitClick();
        QVERIFY(frmTela->isVisible());
        QCOMPARE(program->readFile("velotecla.INI"), QByteArray("[Config]\r\nLastUser=-1\r\n"));
        QCOMPARE(program->questions.size(), 1);
    }

    void deletingAskesFirstAndKeepsLessonResults() {
        start({"ana", "bia"}, "[Config]\r\nLastUser=0\r\n");
        program->writeFile("aulas/aula1_ana.def", "[Config]\r\nWordOK=3\r\n");
        endSplash();
        program->answers = {false};
        frmTela->btnDelClick();
        QCOMPARE(program->questions.value(0),
                 QStringLiteral("Deseja Realmente excluir o Seguinte Aluno?\n\nana"));
        QVERIFY(QFile::exists(program->path("users/ana")));

        program->answers = {true};
        withAccessAccepted([] { frmTela->btnDel->click(); });
        QCOMPARE(listed(), QStringList{"bia"});
        QCOMPARE(frmTela->SelectedIndex(), -1);
        QVERIFY(!selectionButtonsEnabled());
        QVERIFY(QFile::exists(program->path("aulas/aula1_ana.def")));
        QVERIFY(program->errors.isEmpty());
    }

    void nobodyDeletesTheProfileTheyIdentifiedWith() {
        // The built-in administrator's name, in any case of A to Z, is refused as the one to delete.
        start({"ROOT", "ana"}, "[Config]\r\nLastUser=1\r\n");
        QCOMPARE(frmTela->SelectedName(), QStringLiteral("ROOT"));
        endSplash();
        program->answers = {true};
        withAccessAccepted([] { frmTela->btnDel->click(); });
        QCOMPARE(program->messages,
                 QStringList{"!!! O próprio usuário root não pode deletar ele mesmo. !!!"});
        QCOMPARE(listed(), (QStringList{"ana", "ROOT"}));
    }

    void onlyTheLastDeletionClearsTheMarker() {
        // An unwritable marker store shows exactly when the roster writes the marker.
        start({"ana", "bia"}, "[Config]\r\nLastUser=0\r\n");
        QDir().mkpath(program->path("velotecla.reg"));
        endSplash();
        program->answers = {true};
        withAccessAccepted([] { frmTela->btnDel->click(); });
        QVERIFY(program->errors.isEmpty());
        frmTela->lstUsr->setCurrentRow(0);
        program->answers = {true};
        withAccessAccepted([] { frmTela->btnDel->click(); });
        QCOMPARE(listed(), QStringList{});
        QCOMPARE(program->errors, QStringList{"Failed to set data for 'ColorControl'"});
    }

    void editingAsksWithTheNameInQuotes() {
        start({"ana"}, "[Config]\r\nLastUser=0\r\n");
        endSplash();
        program->answers = {false};
        frmTela->btnEditUserClick();
        QCOMPARE(program->questions.value(0),
                 QStringLiteral("Deseja Realmente alterar as opções do usuário \"ana\" ?"));
    }

    // Last of all: once the application has been told to quit, no nested event loop runs again.
    void yesToTheExitQuestionEndsTheProgram() {
        start({"ana", "bia"}, "[Config]\r\nLastUser=-1\r\n");
        endSplash();
        frmTela->lstUsr->setCurrentRow(1);
        program->answers = {true};
        QEventLoop loop;
        QTimer::singleShot(0, frmTela, [] { frmTela->btnExitClick(); });
        QTimer::singleShot(3000, &loop, [&] { loop.exit(99); });
        QCOMPARE(loop.exec(), 0); // yes terminates the application
        QCOMPARE(program->readFile("velotecla.INI"), QByteArray("[Config]\r\nLastUser=1\r\n"));
    }
};

QTEST_MAIN(TestRoster)
#include "tst_roster.moc"
