#include "support/testProgram.h"
#include "windows/course/uDiploma.h"
#include "windows/widgets/balloonHint.h"

#include <QApplication>
#include <QDate>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {
const QStringList kTotals{"01:02:03", "120", "7", "900", "31", "93%"};

QString composed(const QString& name) {
    return TfrmDiploma::ComposeText("08/12/2026", name, kTotals);
}

// The page painted on a PDF, and its words with their boxes (points from the page's corner).
struct Word {
    QString text;
    double xMin, yMin;
};

QList<Word> pdfWords(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    p.waitForFinished(20000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<Word> words;
    static const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void writePdf(const QString& path) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setResolution(300);
    QPainter painter(&writer);
    frmDiploma->PaintPage(painter);
}

constexpr double kPtPerMm = 72.0 / 25.4;
} // namespace

class TestDiploma : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgram> program;

private slots:
    void init() {
        program = std::make_unique<TestProgram>(true);
        frmDiploma = new TfrmDiploma;
    }
    void cleanup() {
        delete frmDiploma;
        frmDiploma = nullptr;
        program.reset();
    }

    void textIsComposedFromItsPieces() {
        QCOMPARE(
            composed("notes.txt"),
            QString("Em 08/12/2026, o Aluno notes.txt concluiu com sucesso seu curso de Digitação.\r\n\r\n"
                    "Abaixo estão as Notas:\r\n"
                    "Tempo Total de Curso: 01:02:03\r\n"
                    "Palavras Digitadas sem Erros: 120\r\n"
                    "Palavras Digitadas com Erros: 7\r\n"
                    "Letras Digitadas sem Erros: 900\r\n"
                    "Letras Digitadas Erradas: 31\r\n"
                    "Porcentagem de Acerto: 93%"));
    }

    void thePdfHoldsEveryLineAtItsPlace() {
        frmDiploma->img = QImage(100, 40, QImage::Format_RGB32);
        frmDiploma->img.fill(Qt::blue);
        frmDiploma->lblMes = composed("Ana Paula");
        const QString pdf = program->path("diploma.pdf");
        writePdf(pdf);
        const QString text = pdfText(pdf);
        for (const char* line :
             {"Diploma de Digitação", "o Aluno Ana Paula concluiu com sucesso",
              "Abaixo estão as Notas:", "Tempo Total de Curso: 01:02:03", "Palavras Digitadas sem Erros: 120",
              "Palavras Digitadas com Erros: 7", "Letras Digitadas sem Erros: 900",
              "Letras Digitadas Erradas: 31", "Porcentagem de Acerto: 93%"})
            QVERIFY2(text.simplified().contains(QString::fromUtf8(line)), line);

        const auto words = pdfWords(pdf);
        auto find = [&](const QString& w) {
            for (const Word& word : words)
                if (word.text == w)
                    return word;
            return Word{{}, -1, -1};
        };
        // Title at 57.15 mm from the left of the printable area and 8.47 mm below its top.
        const Word title = find("Diploma");
        QVERIFY(std::abs(title.xMin - (10 + 57.15) * kPtPerMm) < 2.0);
        QVERIFY(title.yMin > (10 + 8.47) * kPtPerMm - 1 && title.yMin < (10 + 8.47 + 4) * kPtPerMm);
        // The text starts at 23.28 mm, 2.12 mm into the band under the 26.19 mm header.
        const Word em = find("Em");
        QVERIFY(std::abs(em.xMin - (10 + 23.28) * kPtPerMm) < 2.0);
        QVERIFY(em.yMin > (10 + 26.19 + 2.12) * kPtPerMm - 1 && em.yMin < (10 + 26.19 + 6) * kPtPerMm);
        // The last line is printed, below the designed 40.48 mm of the box.
        const Word last = find("Porcentagem");
        QVERIFY(last.yMin > (10 + 26.19 + 2.12 + 40.48) * kPtPerMm - 20);
    }

    void theRulesAndTheLogoAreWhereTheyBelong() {
        // 254 dpi: ten pixels a millimetre.
        QImage page(1900, 2770, QImage::Format_RGB32);
        page.setDotsPerMeterX(10000);
        page.setDotsPerMeterY(10000);
        page.fill(Qt::white);
        frmDiploma->img = QImage(10, 10, QImage::Format_RGB32);
        frmDiploma->img.fill(Qt::red);
        frmDiploma->lblMes = composed("Zé");
        {
            QPainter painter(&page);
            frmDiploma->PaintPage(painter);
        }
        auto dark = [&](double xMm, double yMm) {
            return qGray(page.pixel(int(xMm * 10), int(yMm * 10))) < 100;
        };
        // Header rule: outline of 2.12..186.53 x 24.08..25.14 mm.
        QVERIFY(dark(100, 24.08));
        QVERIFY(dark(100, 25.14) || dark(100, 25.12));
        QVERIFY(!dark(100, 24.6)); // an outline, not a fill
        // Footer rule: the band's top at 277 - 21.17 mm, the rule 0.79 mm into it.
        QVERIFY(dark(100, 277 - 21.17 + 0.79));
        QVERIFY(!dark(100, 277 - 21.17 - 1));
        // The logo is stretched into 4.23..53.18 x 2.12..23.55 mm.
        QCOMPARE(QColor(page.pixel(50, 30)), QColor(Qt::red));
        QCOMPARE(QColor(page.pixel(38, 30)), QColor(Qt::white));
        QCOMPARE(QColor(page.pixel(520, 225)), QColor(Qt::red));
        QCOMPARE(QColor(page.pixel(545, 225)), QColor(Qt::white));
    }

    void aLongNameStillPrintsEveryLine() {
        frmDiploma->lblMes = composed(QString("Maria ").repeated(20).trimmed());
        QImage probe(10, 10, QImage::Format_RGB32);
        probe.setDotsPerMeterX(10000);
        probe.setDotsPerMeterY(10000);
        QPainter painter(&probe);
        QVERIFY(frmDiploma->TextBoxHeightMm(painter) > 40.48);
        painter.end();
        const QString pdf = program->path("long.pdf");
        writePdf(pdf);
        QVERIFY(pdfText(pdf).contains("Porcentagem de Acerto: 93%"));
    }

    void aMissingLogoStopsBeforeThePreviewAndKeepsTheBalloon() {
        QWidget catalogue;
        auto* button = new QPushButton("b", &catalogue);
        catalogue.show();
        TBalloonHint balloon(&catalogue);
        balloon.ShowHint(button, "t", "x", 5000);
        QFile::remove(program->path("logo_diploma.bmp"));
        Guard([&] { ShowDiploma(&catalogue, program->path("users/ana"), kTotals, &balloon); });
        QCOMPARE(program->errors.size(), 1);
        QVERIFY(
            program->errors[0].startsWith("Cannot open file \"" + program->path("logo_diploma.bmp") + "\"."));
        QVERIFY(balloon.IsShowing());
    }

    void thePreviewLeavesTheCatalogueUsableAndComesOnceAtATime() {
        QWidget catalogue;
        catalogue.show();
        QImage logo(60, 30, QImage::Format_RGB32);
        logo.fill(Qt::darkGreen);
        QVERIFY(logo.save(program->path("logo_diploma.bmp"), "BMP"));
        QWidget* seen = nullptr;
        bool blockedCatalogue = true;
        bool secondReturnedAtOnce = false;
        QTimer::singleShot(300, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "diplomaPreview" && w->isVisible())
                    seen = w;
            blockedCatalogue = QApplication::activeModalWidget() != nullptr;
            ShowDiploma(&catalogue, program->path("users/ana"), kTotals, nullptr); // a second press
            secondReturnedAtOnce = true;
            if (seen)
                QTest::keyClick(seen, Qt::Key_Escape);
        });
        ShowDiploma(&catalogue, program->path("users/ana"), kTotals, nullptr);
        QVERIFY(seen);
        QVERIFY(!blockedCatalogue);
        QVERIFY(secondReturnedAtOnce);
        // The date as in Brazil under the C locale the tests run in.
        QVERIFY(frmDiploma->lblMes.startsWith("Em " + QDate::currentDate().toString("dd/MM/yyyy") + ","));
        QVERIFY(frmDiploma->lblMes.contains(", o Aluno ana concluiu"));
        QVERIFY(program->errors.isEmpty());
    }
};

QTEST_MAIN(TestDiploma)
#include "tst_diploma.moc"
