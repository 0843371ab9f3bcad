// The class report's windows: the administrator check at opening, the class table, a student's page
// with its charts, printing and PDF.
#include "core/exercise/history.h"
#include "core/storage/password.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "support/testProgram.h"
#include "windows/course/uPassWord.h"
#include "windows/report/keyErrorsView.h"
#include "windows/report/reportPrint.h"
#include "windows/report/uAluno.h"
#include "windows/report/uRelatorio.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <memory>

namespace {

void writeClass(TestProgram& p) {
    QByteArray ana =
        "[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nControl=0\r\n[Keyboard]\r\nLayout=1\r\n"
        "[Config]\r\nAulaAtual=3\r\nWordOK=120\r\nWordErr=8\r\nCharOK=4000\r\nCharErr=200\r\n"
        "TempoTotal=00:30:00\r\nPorcent=93\r\n[Aula2]\r\nHabilitado=1\r\n[Aula3]\r\nHabilitado=1\r\n";
    p.writeFile("users/ana", ana);
    p.writeFile("users/Bruno", "");
    p.writeFile(
        "users/carla",
        "[Config]\r\nCharOK=1004\r\nCharErr=1\r\nTempoTotal=00:08:00\r\n[Aula25]\r\nHabilitado=1\r\n");
    p.writeFile("users/dora", QByteArray("[Config]\0\0\xFF", 11));
    p.writeFile("users/Mariana", "[Config]\r\nCharOK=900\r\nTempoTotal=00:10:00\r\n");
    p.writeFile("aulas/aula1_ana.def", "[Config]\r\nWordOK=10\r\nWordErr=0\r\nCharOK=40\r\nCharErr=2\r\n"
                                       "TempoTotal=00:00:50\r\nPorcent=97\r\n");
    p.writeFile("historico/ana.csv", QByteArray(kHistoryHeader) +
                                         "\r\n"
                                         "2026-12-01T10:00:00-03:00;1;10;0;40;2;50;95;1\r\n"
                                         "2026-12-02T10:00:00-03:00;2;9;1;36;4;40;90;1\r\n"
                                         "danificada\r\n"
                                         "2026-12-03T10:00:00-03:00;3;10;0;40;0;30;100;1;0;"
                                         "70:3:3:900 186:4:3:600:1:0:0:0:76:1\r\n");
}

QStringList column(QTableView* table, int c) {
    QStringList out;
    for (int r = 0; r < table->model()->rowCount(); ++r)
        out << table->model()->index(r, c).data().toString();
    return out;
}

QList<QPointF> points(QChartView* view) {
    const auto series = view->chart()->series();
    return series.isEmpty() ? QList<QPointF>() : static_cast<QLineSeries*>(series.first())->points();
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Answers the access dialog with each name and password in turn while it stays up, then cancels it.
void answerAccess(QList<QPair<QString, QString>> attempts) {
    WhenModal([attempts](QWidget*) mutable {
        if (attempts.isEmpty()) {
            frmPassWord->btnCancel->click();
            return;
        }
        const auto [name, password] = attempts.takeFirst();
        if (frmPassWord->txtName->isEnabled())
            frmPassWord->txtName->setText(name);
        if (frmPassWord->txtPassWord->isEnabled())
            frmPassWord->txtPassWord->setText(password);
        frmPassWord->btnOK->click();
        if (frmPassWord->isVisible())
            answerAccess(attempts);
    });
}
} // namespace

class TestReport : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgram> program;

private slots:
    void init() {
        program = std::make_unique<TestProgram>(true);
        writeClass(*program);
    }
    void cleanup() {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->hide();
        delete frmPassWord;
        frmPassWord = nullptr;
        program.reset();
    }

    void theOpeningAsksForAnAdministrator();
    void theClassTableSortsFiltersAndExplainsBadCells();
    void aStudentsPageWithItsLessonsAndCharts();
    void printingPreviewAndPdf();
    void aPeriodTheLessonChartAndLongNames();
};

void TestReport::theOpeningAsksForAnAdministrator() {
    // Before the first administrator: the built-in one, as in the course.
    program->writeFile("users/ana", "[Definition]\r\nControl=1\r\n");
    bool rootShown = false;
    WhenModal([&](QWidget*) {
        rootShown = frmPassWord->txtName->text() == QLatin1String("root") &&
                    !frmPassWord->txtName->isEnabled() && !frmPassWord->txtPassWord->isEnabled();
        frmPassWord->btnOK->click();
    });
    std::unique_ptr<TfrmRelatorio> report(OpenClassReport());
    QVERIFY(rootShown);
    QVERIFY(report && report->isVisible());
    report.reset();

    // Once an administrator exists the built-in one is out, with or without the registry's marker (a
    // plain file that anyone may delete); the dialog says it is the report's.
    const QByteArray prof = QByteArray("[Definition]\r\nControl=0\r\nInformation=") +
                            QByteArray::fromStdString(EncodePassword("abc")) + "\r\n";
    program->writeFile("users/prof", prof);
    for (bool marker : {false, true}) {
        if (marker)
            WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
        QString name = "?";
        bool asks = false;
        WhenModal([&](QWidget*) {
            name = frmPassWord->txtName->text();
            asks = frmPassWord->txtName->isEnabled() && frmPassWord->txtPassWord->isEnabled();
            QCOMPARE(frmPassWord->windowTitle(), QStringLiteral("Senha de Acesso: Relatório da Turma"));
            frmPassWord->btnOK->click(); // nothing typed: a message, the dialog stays
            frmPassWord->btnCancel->click();
        });
        report.reset(OpenClassReport());
        QVERIFY(!report);
        QVERIFY2(asks && name.isEmpty(), qPrintable(name));
    }
    using Attempts = QList<QPair<QString, QString>>;
    const QString invalid = "Usuário ou senha inválidas.";
    struct Case {
        Attempts attempts; // then a cancel if the dialog is still up
        QStringList messages;
        bool opens;
    } cases[] = {
        {{{"Bruno", "x"}}, {"!!! Este usuário não tem permissão para fazer alterações !!!"}, false},
        {{{"ninguem", "abc"}}, {invalid}, false},
        {{}, {}, false},
        // A wrong password may be typed again.
        {{{"prof", "abd"}, {"ninguem", "abc"}, {"prof", "abc"}}, {invalid, invalid}, true},
        {{{"PROF", "abc"}}, {}, true},
    };
    for (const Case& c : cases) {
        program->messages.clear();
        answerAccess(c.attempts);
        report.reset(OpenClassReport());
        QCOMPARE(bool(report), c.opens);
        QCOMPARE(program->messages, c.messages);
    }
    QCOMPARE(program->readFile("users/prof"), prof); // checked, not written
}

void TestReport::theClassTableSortsFiltersAndExplainsBadCells() {
    TfrmRelatorio w;
    w.show();
    QTableView* t = w.tblTurma;
    QStringList headers;
    for (int c = 0; c < t->model()->columnCount(); ++c)
        headers
            << t->model()->headerData(c, Qt::Horizontal).toString().replace('\n', ' '); // two lines on screen
    QCOMPARE(headers.join(';'),
             QStringLiteral("Aluno;Nível;Teclado;Aulas concluídas;Aula atual;Palavras certas;"
                            "Palavras erradas;Teclas certas;Teclas erradas;Acerto (%);Tempo total;"
                            "Teclas por minuto;Diploma;Último exercício;Situação;Reforços"));
    QCOMPARE(column(t, 0), QStringList({"ana", "Bruno", "carla", "dora", "Mariana"}));
    QCOMPARE(column(t, 3), QStringList({"2", "0", "1", "—", "0"}));
    QCOMPARE(column(t, 11), QStringList({"140", "—", "126", "—", "90"}));
    // The damaged profile says why in a tool tip; no box was shown for it.
    QCOMPARE(t->model()->index(3, 5).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Arquivo danificado: não é um arquivo de texto"));
    QVERIFY(!t->model()->index(0, 5).data(Qt::ToolTipRole).isValid());
    QVERIFY(program->errors.isEmpty() && program->messages.isEmpty());
    QVERIFY(
        w.lblStatus->text().startsWith(QStringLiteral("5 alunos. 1 com valores que não puderam ser lidos")));

    // A click on a heading sorts by it, a second click the other way round.
    QHeaderView* header = t->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(11) + header->sectionSize(11) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(column(t, 0), QStringList({"dora", "Bruno", "Mariana", "carla", "ana"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(column(t, 0), QStringList({"ana", "carla", "Mariana", "Bruno", "dora"}));
    // Equal cells in name order both ways.
    t->sortByColumn(3, Qt::AscendingOrder);
    QCOMPARE(column(t, 0), QStringList({"dora", "Bruno", "Mariana", "carla", "ana"}));
    t->sortByColumn(3, Qt::DescendingOrder);
    QCOMPARE(column(t, 0), QStringList({"ana", "carla", "Bruno", "Mariana", "dora"}));
    // Every column in sight on a screen 1,280 wide.
    QVERIFY2(w.TableWidth() <= 1280 - 16, qPrintable(QString::number(w.TableWidth())));
    t->sortByColumn(11, Qt::DescendingOrder);

    // The filter on the name, letter case aside; the export holds the rows shown, in their order.
    QTest::keyClicks(w.txtFiltro, QStringLiteral("AR"));
    QCOMPARE(column(t, 0), QStringList({"carla", "Mariana"}));
    QVERIFY(w.lblStatus->text().startsWith(QStringLiteral("2 de 5 alunos.")));
    const QString csv = QString::fromStdString(w.ShownCsv());
    QCOMPARE(csv.count(QStringLiteral("\r\n")), 3);
    QVERIFY(csv.contains(QStringLiteral("\r\ncarla;Aluno;")));
    QVERIFY(csv.indexOf(QStringLiteral("carla;")) < csv.indexOf(QStringLiteral("Mariana;")));
    // "Exportar CSV..." saves those bytes where the file dialog says, byte-order mark first.
    QTemporaryDir out;
    const QString saved = out.filePath(QStringLiteral("turma.csv"));
    WhenModal([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        files->selectFile(saved);
        static_cast<QDialog*>(files)->accept(); // QFileDialog checks the name, as on a click
    });
    w.btnCsv->click();
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray::fromStdString(w.ShownCsv()));
    QVERIFY(w.ShownCsv().rfind("\xEF\xBB\xBF"
                               "Aluno;N",
                               0) == 0);
    w.txtFiltro->clear();
    QCOMPARE(t->model()->rowCount(), 5);

    // The class's keys on the layout most of the students shown have, the filter followed.
    QCOMPARE(w.pnlTeclas->keyboard->KeyLabel(186)->text(), QStringLiteral(";\n25%"));
    w.txtFiltro->setText(QStringLiteral("ana"));
    QCOMPARE(w.pnlTeclas->keyboard->KeyLabel(186)->text(), QStringLiteral("Ç\n25%"));
    w.txtFiltro->clear();
    // A student added meanwhile appears on "Atualizar".
    program->writeFile("users/zeca", "");
    w.btnAtualizar->click();
    QCOMPARE(t->model()->rowCount(), 6);
}

void TestReport::aStudentsPageWithItsLessonsAndCharts() {
    TfrmRelatorio w;
    w.show();
    QTableView* t = w.tblTurma;
    // Opened with a double click on the student's row.
    const QRect cell = t->visualRect(t->model()->index(0, 0));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    auto pages = w.findChildren<TfrmAluno*>();
    QCOMPARE(pages.size(), 1);
    TfrmAluno* ana = pages.first();
    QVERIFY(ana->isVisible());
    QCOMPARE(ana->windowTitle(), QStringLiteral("Aluno: ana"));
    QCOMPARE(ana->tblAulas->model()->rowCount(), 24);
    // Lesson 1: its figures beside the lesson file's minimum and time allowed, passed.
    const auto& row = ana->LessonRows()[0];
    QCOMPARE(QString::fromStdString(row[3].Text), QStringLiteral("10"));
    QCOMPARE(QString::fromStdString(row[7].Text), QStringLiteral("50,4"));
    QVERIFY(row[9].Problem.empty() && row[9].Numeric && row[9].Number >= 90);
    QVERIFY(row[11].Problem.empty() && row[11].Text.size() == 8);
    QCOMPARE(QString::fromStdString(row[12].Text), QStringLiteral("Sim"));
    // Its time from the history, which holds its one exercise; said in the tool tip.
    QCOMPARE(ana->tblAulas->model()->index(0, 10).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Tempo do único exercício desta aula no histórico"));
    QCOMPARE(QString::fromStdString(ana->LessonRows()[2][12].Text), QStringLiteral("Não"));

    // One point per good line of the history: accuracy, and keys per minute.
    QVERIFY(ana->chtAcerto->isVisibleTo(ana) && ana->chtTeclas->isVisibleTo(ana));
    QCOMPARE(points(ana->chtAcerto), QList<QPointF>({{1, 95}, {2, 90}, {3, 100}}));
    QCOMPARE(points(ana->chtTeclas), QList<QPointF>({{1, 50.4}, {2, 60}, {3, 80}}));
    QCOMPARE(ana->lblHistorico->text(),
             QStringLiteral("3 exercícios registrados, de 01/12/2026 a 03/12/2026. "
                            "1 linha danificada do histórico foi ignorada."));
    // Its keys on its own layout (ABNT2), the figures in words for a screen reader.
    QCOMPARE(ana->pnlTeclas->keyboard->KeyLabel(186)->text(), QStringLiteral("Ç\n25%"));
    QVERIFY(ana->pnlTeclas->keyboard->KeyLabel(186)->accessibleName().startsWith(
        QStringLiteral("Ç: 4 vezes, 1 errada (25%): 1 trocada (digitou L); ")));
    QVERIFY(ana->pnlTeclas->lblConfusoes->text().endsWith(QStringLiteral("digitou L no lugar de Ç: 1 vez")));
    // The page's file says whose it is.
    QVERIFY(ana->Csv().rfind("\xEF\xBB\xBF"
                             "Aluno;Aula;Título;Liberada;",
                             0) == 0);
    QVERIFY(ana->Csv().find("\r\nana;1;") != std::string::npos);
    // Within the screen's free area, however small; closed by Esc.
    const QSize free = ana->screen()->availableGeometry().size();
    QVERIFY(ana->width() <= free.width() && ana->height() <= free.height());
    QVERIFY(ana->tblAulas->viewport()->height() >= 8 * ana->tblAulas->verticalHeader()->defaultSectionSize());
    ana->activateWindow();
    QTRY_VERIFY(ana->isActiveWindow());
    QTest::keyClick(ana, Qt::Key_Escape);
    QVERIFY(!ana->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // a closed page is gone

    // By keys: Enter on a row opens its page; Tab leaves the table instead of walking its cells.
    w.activateWindow();
    t->setFocus();
    QTRY_VERIFY(t->hasFocus());
    t->setCurrentIndex(t->model()->index(0, 2));
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(w.findChildren<TfrmAluno*>().size(), 1);
    w.findChild<TfrmAluno*>()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w.activateWindow();
    t->setFocus();
    QTRY_VERIFY(t->hasFocus());
    QTest::keyClick(t, Qt::Key_Tab);
    QVERIFY(!t->hasFocus());

    // Without a history: no chart, a note. A damaged profile: its page still opens.
    w.ShowStudent(1);
    w.ShowStudent(3);
    pages = w.findChildren<TfrmAluno*>();
    QCOMPARE(pages.size(), 2);
    TfrmAluno* bruno = pages[0]->Student().Name == "Bruno" ? pages[0] : pages[1];
    TfrmAluno* dora = pages[0] == bruno ? pages[1] : pages[0];
    QVERIFY(!bruno->chtAcerto->isVisibleTo(bruno) && !bruno->chtTeclas->isVisibleTo(bruno));
    QVERIFY(bruno->lblHistorico->text().startsWith(QStringLiteral("Sem histórico de exercícios")));
    QCOMPARE(dora->lblResumo->text(), QStringLiteral("dora: Arquivo danificado: não é um arquivo de texto"));
    QCOMPARE(QString::fromStdString(dora->LessonRows()[0][2].Text), QStringLiteral("—"));
    bruno->close();
    dora->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A long history: the charts draw the last 500 exercises, numbered as in the whole history.
    QByteArray longHistory = QByteArray(kHistoryHeader) + "\r\n";
    for (int i = 0; i < 502; ++i)
        longHistory += "2026-12-01T10:00:00-03:00;1;10;0;40;2;50;95;1\r\n";
    program->writeFile("historico/carla.csv", longHistory);
    w.ShowStudent(2);
    TfrmAluno* carla = w.findChild<TfrmAluno*>();
    QCOMPARE(points(carla->chtAcerto).size(), 500);
    QCOMPARE(points(carla->chtAcerto).first().x(), 3.0);
    QVERIFY(carla->lblHistorico->text().endsWith(QStringLiteral("Os gráficos mostram os últimos 500.")));
    QVERIFY(program->errors.isEmpty() && program->messages.isEmpty());
}

void TestReport::printingPreviewAndPdf() {
    // Enough students for two pages of the class table.
    for (int i = 0; i < 45; ++i)
        program->writeFile(QStringLiteral("users/aluno%1").arg(i, 2, 10, QLatin1Char('0')), "");
    TfrmRelatorio w;
    QTemporaryDir out;
    const QString classPdf = out.filePath("turma.pdf");
    QVERIFY(WriteReportPdf(w.Printed(), classPdf));
    const QString text = pdfText(classPdf);
    QVERIFY(text.contains(QStringLiteral("Relatório da Turma")));
    QVERIFY(text.contains(QStringLiteral("Página 1 de 2")) && text.contains(QStringLiteral("Página 2 de 2")));
    for (const QString& name : {QStringLiteral("ana"), QStringLiteral("aluno00"), QStringLiteral("aluno44"),
                                QStringLiteral("Mariana")})
        QVERIFY2(text.contains(name), qPrintable(name));
    QVERIFY(text.contains(QStringLiteral("Situação")) && text.contains(QStringLiteral("Sem exercícios")));
    // Paper has no tool tips: the dash of the damaged profile is explained in a line.
    QVERIFY(text.contains(QStringLiteral("— : valor que não pôde ser lido")));

    // The student's page: the lessons on one page, the charts on the next; the preview shows the same.
    w.ShowStudent(static_cast<int>(column(w.tblTurma, 0).indexOf(QStringLiteral("ana"))));
    TfrmAluno* ana = w.findChild<TfrmAluno*>();
    QVERIFY(ana);
    const QString anaPdf = out.filePath("ana.pdf");
    QVERIFY(WriteReportPdf(ana->Printed(), anaPdf));
    const QString anaText = pdfText(anaPdf);
    QVERIFY(anaText.contains(QStringLiteral("Aluno: ana")) &&
            anaText.contains(QStringLiteral("Página 2 de 2")));
    QVERIFY(anaText.contains(QStringLiteral("Acerto por exercício")));

    int previewPages = -1, printByKeys = 0;
    QString previewTitle;
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(top); preview && preview->isVisible()) {
                poll->stop();
                poll->deleteLater();
                previewTitle = preview->windowTitle();
                previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
                // Printed by keys: the print button focused, and on Ctrl+P.
                printByKeys = preview->focusWidget() &&
                              preview->focusWidget()->objectName() == QLatin1String("btnPrint");
                for (QAction* action : preview->findChildren<QAction*>())
                    printByKeys += action->shortcut() == QKeySequence::Print;
                QTest::keyClick(preview, Qt::Key_Escape);
                return;
            }
    });
    poll->start();
    ana->btnImprimir->click(); // returns when the preview has closed
    QCOMPARE(previewPages, 2);
    QCOMPARE(previewTitle, QStringLiteral("Imprimir: Aluno: ana"));
    QCOMPARE(printByKeys, 2);
    QVERIFY(program->errors.isEmpty());
}

void TestReport::aPeriodTheLessonChartAndLongNames() {
    // Dated from today: one exercise 40 days ago, three failures of lesson 3 in the last days.
    const auto at = [](int daysAgo, const char* rest) {
        return QDate::currentDate().addDays(-daysAgo).toString(Qt::ISODate).toLatin1() + "T10:00:00-03:00;" +
               rest + "\r\n";
    };
    program->writeFile("historico/ana.csv", QByteArray(kHistoryHeader) + "\r\n" +
                                                at(40, "2;9;1;36;4;40;90;1") + at(5, "3;10;0;40;5;60;88;0") +
                                                at(4, "3;10;0;40;5;60;88;0") + at(1, "3;10;0;40;5;30;88;0"));
    // Full names as schools write them, 40 characters, beside the longest level and keyboard.
    for (const char* name :
         {"Maria Aparecida dos Santos Oliveira Lima", "Joaquim Francisco de Albuquerque Pereira",
          "Ana Cl\xC3\xA1udia Nascimento Vasconcelos Souza"})
        program->writeFile(QStringLiteral("users/") + QString::fromUtf8(name),
                           "[Definition]\r\nControl=0\r\n[Config]\r\nAulaAtual=1\r\n");
    TfrmRelatorio w;
    w.show();
    QTableView* t = w.tblTurma;
    const int anaRow = static_cast<int>(column(t, 0).indexOf(QStringLiteral("ana")));
    QCOMPARE(t->model()->index(anaRow, kSituationColumn).data().toString(),
             QStringLiteral("Aula 3: 3 tentativas sem passar"));
    QVERIFY(t->model()->index(anaRow, kSituationColumn).data(Qt::BackgroundRole).isValid());
    QCOMPARE(t->model()->index(anaRow, kLastExerciseColumn).data().toString(),
             QDate::currentDate().addDays(-1).toString(Qt::ISODate));
    QVERIFY2(w.TableWidth() <= 1280 - 16, qPrintable(QString::number(w.TableWidth())));
    const int maria =
        static_cast<int>(column(t, 0).indexOf(QStringLiteral("Maria Aparecida dos Santos Oliveira Lima")));
    QCOMPARE(t->model()->index(maria, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Maria Aparecida dos Santos Oliveira Lima"));

    // The last 30 days: three more columns; the student's page follows.
    w.cmbPeriodo->setCurrentIndex(1);
    QCOMPARE(t->model()->columnCount(), 19);
    QCOMPARE(t->model()->headerData(18, Qt::Horizontal).toString().replace('\n', ' '),
             QStringLiteral("Aulas aprovadas no período"));
    QCOMPARE(t->model()->index(anaRow, 16).data().toString(), QStringLiteral("3")); // not the one 40 days ago
    QVERIFY2(w.TableWidth() <= 1280 - 16, qPrintable(QString::number(w.TableWidth())));
    QVERIFY(
        w.ShownCsv().find(
            ";Situação;Reforços;Exercícios no período;Minutos no período;Aulas aprovadas no período\r\n") !=
        std::string::npos);
    w.ShowStudent(anaRow);
    TfrmAluno* ana = w.findChild<TfrmAluno*>();
    QCOMPARE(ana->Charted().size(), std::size_t{3});
    QCOMPARE(points(ana->chtAcerto).first(), QPointF(2, 88));
    QVERIFY(ana->lblResumo->text().contains(QStringLiteral("\nNo período (de ")));
    // The lesson's minimum drawn under the accuracy, on an axis that does not start at 0.
    QCOMPARE(ana->chtAcerto->chart()->series().size(), 2);
    QVERIFY(static_cast<QValueAxis*>(ana->chtAcerto->chart()->axes(Qt::Vertical).first())->min() > 0);
    ana->close();

    // A click on a lesson's bar keeps its students; another click shows everyone again.
    auto* bars = static_cast<QBarSeries*>(w.chtAulas->chart()->series().first());
    QCOMPARE(bars->barSets().first()->at(1), 3.0); // the three at lesson 2
    emit bars->barSets().first()->clicked(1);
    QCOMPARE(t->model()->rowCount(), 3);
    QVERIFY(w.lblStatus->text().contains(QStringLiteral("Só os alunos na aula 2")));
    emit bars->barSets().first()->clicked(1);
    QCOMPARE(t->model()->rowCount(), 8);
    QVERIFY(program->errors.isEmpty() && program->messages.isEmpty());
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
