// The lesson catalogue: availability, statistics as stored, the stored selection, the diploma button.
#include "catalogueSupport.h"
#include "windows/course/uSobre.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/blinkingLabel.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

namespace {
QStringList texts(std::initializer_list<QLabel*> labels) {
    QStringList out;
    for (QLabel* l : labels)
        out << l->text();
    return out;
}
QStringList overall() {
    return texts(
        {frmAulas->lbl1, frmAulas->lbl2, frmAulas->lbl3, frmAulas->lbl4, frmAulas->lbl5, frmAulas->lbl6});
}
QStringList lessonData() {
    return texts({frmAulas->lbla1, frmAulas->lbla2, frmAulas->lbla3, frmAulas->lbla4, frmAulas->lbla5,
                  frmAulas->lbla6});
}
} // namespace

class TestAulas : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgram> program;

    void start(const QStringList& profile) {
        program = std::make_unique<TestProgram>(true);
        writeJpeg(*program, QStringLiteral("images/default.jpg"), 0x336699);
        program->writeFile(QStringLiteral("aulas/.keep"), "");
        program->writeFile(QStringLiteral("users/aluno"), profileText(profile));
        program->createWindows();
    }
    QByteArray profile() const { return program->readFile(QStringLiteral("users/aluno")); }

private slots:
    void cleanup() { program.reset(); }

    void madeAsDesigned() {
        start({});
        QVERIFY(program->errors.isEmpty());
        QVERIFY(!frmAulas->Image1->pixmap().isNull());
        QCOMPARE(frmAulas->lstAulaItems.size(), 24);
        QCOMPARE(frmAulas->lstAulaItems[0]->text(), QStringLiteral("Mao Esq. Treino 1"));
        QCOMPARE(frmAulas->lstAulaItems[12]->text(), QStringLiteral("Treino Conjunto 1"));
        QCOMPARE(frmAulas->lstAulaItems[23]->text(), QStringLiteral("Teste Final"));
        frmAulas->lstAula->layout()->activate();
        // Lessons 1 to 12 in the first column, 13 to 24 in the second.
        QCOMPARE(frmAulas->lstAulaItems[11]->x(), frmAulas->lstAulaItems[0]->x());
        QVERIFY(frmAulas->lstAulaItems[12]->x() > frmAulas->lstAulaItems[0]->x());
        QCOMPARE(frmAulas->lstAulaItems[12]->y(), frmAulas->lstAulaItems[0]->y());
        QVERIFY(frmAulas->lstAulaItems[1]->y() > frmAulas->lstAulaItems[0]->y());
        QCOMPARE(frmAulas->ItemIndex(), 0);
        QVERIFY(frmAulas->lstAulaItems[0]->isChecked());
        QVERIFY(!frmAulas->btnFazerAula->isEnabled());
        QVERIFY(!frmAulas->btnDiploma->isEnabled());
        QCOMPARE(frmAulas->btnFazerAula->text(), QStringLiteral("&Fazer esta Aula..."));
        QCOMPARE(frmAulas->btnSobre->text(), QStringLiteral("Sobre tavoli®"));
        QCOMPARE(frmAulas->JvBlinkingLabel1->text(), QStringLiteral("Dados não disponíveis"));
        QCOMPARE(frmAulas->windowTitle(), QStringLiteral("Aulas do Aluno"));
        QVERIFY(overall().join(QString()).isEmpty());
    }

    void aMissingPictureIsReportedAndTheWindowIsMadeAllTheSame() {
        program = std::make_unique<TestProgram>();
        program->createWindows();
        QCOMPARE(program->errors.filter(QStringLiteral("default.jpg")).size(), 1);
        QCOMPARE(program->errors.filter(QStringLiteral("default.jpg"))[0],
                 QStringLiteral("Cannot open file \"") + program->path("images/default.jpg") +
                     QStringLiteral("\". No such file or directory."));
        QVERIFY(frmAulas->Image1->pixmap().isNull());
        QCOMPARE(frmAulas->lstAulaItems.size(), 24);
    }

    void aNewStudentHasLessonOneWithDefaults() {
        start({"Aula1/Habilitado=1"});
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(frmAulas->windowTitle(), QStringLiteral("Aulas do Aluno (aluno)"));
            QCOMPARE(overall(), (QStringList{"00:00:00", "0", "0", "0", "0", "100%"}));
            QCOMPARE(frmAulas->ItemIndex(), 0);
            QVERIFY(frmAulas->btnFazerAula->isEnabled());
            QVERIFY(!frmAulas->pnlDatAula->isHidden());
            // The "no data" message under the data is not there for a screen reader either.
            QVERIFY(QAccessible::queryAccessibleInterface(frmAulas->JvBlinkingLabel1)->state().invisible);
            QCOMPARE(lessonData(), (QStringList{"0", "0", "0", "0", "00:00:00", "100%"}));
            // The reads stored the defaults in a new lesson result file.
            const QByteArray results = program->readFile("aulas/aula1_aluno.def");
            QVERIFY(results.contains("WordOK=0") && results.contains("Porcent=100"));
            QTRY_VERIFY(frmAulas->ohint->IsShowing());
            QCOMPARE(frmAulas->ohint->HintTitle(), QStringLiteral("!!! Iniciar a Aula !!!"));
            QCOMPARE(frmAulas->ohint->HintText(),
                     QStringLiteral("Clique aqui para Iniciar\nsua aula agora."));
            QCOMPARE(frmAulas->ohint->HintTarget(), frmAulas->btnFazerAula);
            QCOMPARE(frmAulas->ohint->HintDuration(), 5000);

            pick(1);
            QCOMPARE(frmAulas->ItemIndex(), 1);
            QVERIFY(!frmAulas->btnFazerAula->isEnabled());
            QVERIFY(frmAulas->pnlDatAula->isHidden());
            QVERIFY(frmAulas->JvBlinkingLabel1->isVisible());
            QCOMPARE(frmAulas->ohint->HintTitle(), QStringLiteral("!!! Aula Indisponível !!!"));
            QCOMPARE(
                frmAulas->ohint->HintText(),
                QStringLiteral(
                    "Esta Aula não está disponível.\nTermine a Aula anterior para poder\nfazer esta aula."));
            QVERIFY(profile().contains("[Aula2]\r\nHabilitado=0"));
        });
        QVERIFY2(profile().contains("AulaAtual=1"), profile().constData());
        QVERIFY(!frmAulas->ohint->IsShowing());
        QVERIFY(program->errors.isEmpty());
    }

    void statisticsAreShownAsStored() {
        QStringList entries = lessonsEnabled(1, 6);
        entries << "Config/TempoTotal=01:02:03"
                << "Config/WordOK=12"
                << "Config/WordErr=3"
                << "Config/CharOK=0140"
                << "Config/CharErr=9"
                << "Config/Porcent=93"
                << "Config/AulaAtual=5";
        start(entries);
        program->writeFile(
            "aulas/aula6_aluno.def",
            profileText({"Config/WordOK=4", "Config/WordErr=1", "Config/CharOK=50", "Config/CharErr=2",
                         "Config/TempoTotal=00:03:10", "Config/Porcent=n/d"}));
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(overall(), (QStringList{"01:02:03", "12", "3", "0140", "9", "93%"}));
            QCOMPARE(frmAulas->ItemIndex(), 5);
            QVERIFY(frmAulas->lstAulaItems[5]->isChecked());
            QCOMPARE(frmAulas->lstAulaItems[5]->text(), QStringLiteral("Mao Esq. Dir. 2"));
            // Lessons 1 to 5 are passed (the next one is open), 6 merely open.
            QCOMPARE(frmAulas->lstAulaItems[4]->text(), QStringLiteral("Mao Esq. Dir. 1 \u2713"));
            QCOMPARE(frmAulas->lstAulaItems[4]->accessibleName(),
                     QStringLiteral("Mao Esq. Dir. 1, aprovada"));
            QCOMPARE(frmAulas->lstAulaItems[5]->accessibleName(), QStringLiteral("Mao Esq. Dir. 2"));
            QCOMPARE(lessonData(), (QStringList{"4", "1", "50", "2", "00:03:10", "n/d%"}));
        });
        QVERIFY(program->errors.isEmpty());
    }

    void theStoredSelectionRoundTrips_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QByteArray>("storedOnClose");
        QTest::newRow("in range") << "7" << 7 << QByteArray("AulaAtual=7\r\n");
        QTest::newRow("above the list") << "30" << 23 << QByteArray("AulaAtual=23\r\n");
        QTest::newRow("below the list") << "-3" << -1 << QByteArray("AulaAtual=-1\r\n");
        QTest::newRow("none") << "-1" << -1 << QByteArray("AulaAtual=-1\r\n");
    }
    void theStoredSelectionRoundTrips() {
        QFETCH(QString, stored);
        QFETCH(int, selected);
        QFETCH(QByteArray, storedOnClose);
        start(lessonsEnabled(1, 24) << "Config/AulaAtual=" + stored);
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(frmAulas->ItemIndex(), selected);
            int checked = 0;
            for (auto* option : frmAulas->lstAulaItems)
                checked += option->isChecked() ? 1 : 0;
            QCOMPARE(checked, selected < 0 ? 0 : 1);
        });
        QVERIFY2(profile().contains(storedOnClose), profile().constData());
        QVERIFY(program->errors.isEmpty());
    }

    void aStoredSelectionThatIsNoNumberIsReported() {
        start(lessonsEnabled(1, 3) << "Config/WordOK=5"
                                   << "Config/AulaAtual=abc");
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(program->errors.value(0), QStringLiteral("'abc' is not a valid integer value."));
            QCOMPARE(frmAulas->lbl2->text(), QStringLiteral("5")); // shown before the failure
            QCOMPARE(frmAulas->ItemIndex(), 0);                    // the selection stays
        });
        QVERIFY(profile().contains("AulaAtual=0\r\n"));
    }

    void everyWayOutStoresTheSelection() {
        start(lessonsEnabled(1, 24));
        openCatalogue(*program, "aluno", [&] {
            pick(6);
            frmAulas->BitBtn3->click();
            QVERIFY(!frmAulas->isVisible());
        });
        QVERIFY(profile().contains("AulaAtual=6\r\n"));
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(frmAulas->ItemIndex(), 6);
            pick(2);
            frmAulas->close(); // the caption's close button
        });
        QVERIFY(profile().contains("AulaAtual=2\r\n"));
        openCatalogue(*program, "aluno", [&] {
            pick(4);
            QTest::keyClick(frmAulas, Qt::Key_Escape);
        });
        QVERIFY(profile().contains("AulaAtual=4\r\n"));
    }

    void theDiplomaButtonRule() {
        start(lessonsEnabled(1, 9) << lessonsEnabled(11, 25) << "Config/AulaAtual=23");
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(frmAulas->ItemIndex(), 23);
            QVERIFY(frmAulas->btnDiploma->isEnabled());
            pick(2);
            QVERIFY(!frmAulas->btnDiploma->isEnabled());
            pick(23);
            QVERIFY(frmAulas->btnDiploma->isEnabled());
            // A click on the selected option runs nothing.
            frmAulas->ohint->CancelHint();
            pick(23);
            QVERIFY(!frmAulas->ohint->IsShowing());
            QVERIFY(frmAulas->btnDiploma->isEnabled());
            // An unavailable lesson leaves the button as it was.
            pick(9);
            QVERIFY(!frmAulas->btnFazerAula->isEnabled());
            QVERIFY(frmAulas->btnDiploma->isEnabled());
            pick(10);
            QVERIFY(!frmAulas->btnDiploma->isEnabled());
            pick(9);
            QVERIFY(!frmAulas->btnDiploma->isEnabled());
        });
        // Without the final test passed, lesson 24 does not enable it.
        program->writeFile("users/aluno", profileText(lessonsEnabled(1, 24) << "Config/AulaAtual=23"));
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(frmAulas->ItemIndex(), 23);
            QVERIFY(frmAulas->btnFazerAula->isEnabled());
            QVERIFY(!frmAulas->btnDiploma->isEnabled());
        });
    }

    void comingBackFromTheAboutBoxRestoresTheStoredLesson() {
        start(lessonsEnabled(1, 8) << "Config/AulaAtual=2");
        bool aboutShown = false;
        openCatalogue(*program, "aluno", [&] {
            QCOMPARE(frmAulas->ItemIndex(), 2);
            pick(6);
            QCOMPARE(frmAulas->ItemIndex(), 6);
            frmAulas->ohint->CancelHint();
            program->writeFile("users/aluno", profileText(lessonsEnabled(1, 8) << "Config/AulaAtual=2"
                                                                               << "Config/WordOK=77"));
            WhenModal(
                [&](QWidget* modal) {
                    aboutShown = modal == frmSobre;
                    modal->close();
                },
                frmAulas);
            frmAulas->btnSobre->click();
            QTRY_COMPARE(frmAulas->ItemIndex(), 2);
            QCOMPARE(frmAulas->lbl2->text(), QStringLiteral("77"));
            QVERIFY(frmAulas->ohint->IsShowing()); // lstAulaClick ran for the restored lesson
        });
        QVERIFY(aboutShown);
    }
};

QTEST_MAIN(TestAulas)
#include "tst_aulas.moc"
