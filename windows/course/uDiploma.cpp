#include "windows/course/uDiploma.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/profileKeys.h"
#include "modules/print/printModule.h"
#include "windows/glue/moduleLoader.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/picture.h"
#include "windows/widgets/qtText.h"

#include <QDate>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>

TfrmDiploma* frmDiploma = nullptr;

namespace {

// The page in millimetres: printable width 189.97, height 277 (A4 less the margins).
constexpr double kPrintableHeight = 277.0;
constexpr double kHeaderHeight = 26.19;
constexpr double kTitleBandTop = kHeaderHeight;
constexpr double kTitleBandHeight = 44.45;
constexpr double kFooterHeight = 21.17;
constexpr double kTextTop = 2.12;
constexpr double kTextHeight = 40.48;

struct Mm {
    double perMm;
    double operator()(double mm) const { return mm * perMm; }
    QRectF rect(double l, double t, double w, double h) const {
        return {l * perMm, t * perMm, w * perMm, h * perMm};
    }
};

Mm scaleOf(const QPainter& painter) {
    return {painter.device()->logicalDpiX() / 25.4};
}

QFont textFont(const QString& family, double points, bool bold, QPaintDevice* device) {
    QFont f(family, 12, bold ? QFont::Bold : QFont::Normal);
    f.setPointSizeF(points);
    return QFont(f, device); // sized for the device's resolution
}

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

TfrmDiploma::TfrmDiploma() {
    setObjectName(QStringLiteral("frmDiploma"));
    QRLabel1 = QStringLiteral("Diploma de Digitação");
}

QString TfrmDiploma::ComposeText(const QString& date, const QString& student, const QStringList& totals) {
    const QStringList labels{
        QStringLiteral("Tempo Total de Curso: "),         QStringLiteral("Palavras Digitadas sem Erros: "),
        QStringLiteral("Palavras Digitadas com Erros: "), QStringLiteral("Letras Digitadas sem Erros: "),
        QStringLiteral("Letras Digitadas Erradas: "),     QStringLiteral("Porcentagem de Acerto: ")};
    QString text = QStringLiteral("Em ") + date + QStringLiteral(", o Aluno ") + student +
                   QStringLiteral(" concluiu com sucesso seu curso de Digitação.\r\n\r\n") +
                   QStringLiteral("Abaixo estão as Notas:\r\n");
    for (int i = 0; i < labels.size(); ++i) {
        text += labels[i] + totals.value(i);
        if (i + 1 < labels.size())
            text += QStringLiteral("\r\n");
    }
    return text;
}

double TfrmDiploma::TextBoxHeightMm(QPainter& painter) const {
    const Mm mm = scaleOf(painter);
    painter.setFont(textFont(QStringLiteral("Arial"), 12, false, painter.device()));
    const QRectF needed = painter.boundingRect(mm.rect(0, 0, 150.55, 1000), kTextFlags, ShownLines(lblMes));
    return std::max(kTextHeight, needed.height() / mm.perMm);
}

void TfrmDiploma::PaintPage(QPainter& painter) const {
    const Mm mm = scaleOf(painter);
    QPaintDevice* device = painter.device();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // Page header: logo, title, rule.
    if (!img.isNull())
        painter.drawImage(mm.rect(4.23, 2.12, 48.95, 21.43), img);
    painter.setFont(textFont(QStringLiteral("Comic Sans MS"), 18, true, device));
    painter.setPen(Qt::black);
    painter.drawText(mm.rect(57.15, 8.47, 127.26, 9.53), kTextFlags, QRLabel1);
    QPen rule(Qt::black);
    rule.setWidthF(mm(0.26));
    painter.setPen(rule);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mm.rect(2.12, 24.08, 184.41, 1.06));

    // Title band: the text box grows to hold every line of the text.
    const double boxHeight = TextBoxHeightMm(painter);
    painter.setPen(Qt::black);
    painter.drawText(mm.rect(23.28, kTitleBandTop + kTextTop, 150.55, boxHeight), kTextFlags,
                     ShownLines(lblMes));

    // Page footer, its lower edge on the bottom margin.
    const double footerTop = kPrintableHeight - kFooterHeight;
    painter.setPen(rule);
    painter.drawRect(mm.rect(2.12, footerTop + 0.79, 184.41, 1.06));
    painter.restore();
    static_assert(kTitleBandTop + kTitleBandHeight < kPrintableHeight - kFooterHeight);
}

namespace {
bool g_previewOpen = false;
}

void ShowDiploma(QWidget* catalogue, const QString& studentPath, const QStringList& totals,
                 TBalloonHint* balloon) {
    if (g_previewOpen)
        return; // the open preview already shows this diploma
    frmDiploma->img = LoadPictureFile(FromPath(ProgramFile(files::DiplomaLogo)));
    // The date as written in Brazil whatever the system's language ("9 Dec 2026" under a C locale).
    const QString date =
        QLocale(QLocale::Portuguese, QLocale::Brazil).toString(QDate::currentDate(), QLocale::ShortFormat);
    frmDiploma->lblMes =
        TfrmDiploma::ComposeText(date, FromUtf8(FileNamePart(studentPath.toStdString())), totals);
    if (balloon)
        balloon->CancelHint();
    const auto run =
        reinterpret_cast<RunDiplomaPreviewFn>(ResolveModuleFunction(kPrintModule, kRunDiplomaPreview));
    if (!run)
        throw VtError("O módulo de impressão (vtprint) não foi encontrado ao lado do programa");
    g_previewOpen = true;
    try {
        run([](QPainter& painter) { frmDiploma->PaintPage(painter); }, catalogue);
    } catch (...) {
        g_previewOpen = false;
        throw;
    }
    g_previewOpen = false;
}
