#include "windows/report/uAluno.h"

#include "core/exercise/judging.h"
#include "core/report/keyReport.h"
#include "windows/report/keyErrorsView.h"
#include "windows/report/reportPrint.h"
#include "windows/report/uRelatorio.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/qtText.h"

#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {

QString cellText(const TReportCell& c) {
    return FromUtf8(c.Text);
}

QChartView* makeChart(QWidget* parent, const char* name, const QString& title, const QString& yTitle) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(220);
    chart->setProperty("yTitle", yTitle);
    return view;
}

void plot(QChart* chart, const QList<QPointF>& points, double yMax, const QColor& colour,
          const QList<QPointF>& reforcos = {}) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    auto* series = new QLineSeries;
    series->setName(QStringLiteral("Aulas"));
    series->append(points);
    // Dots only where they stay apart; hundreds of them make a solid band.
    series->setPointsVisible(points.size() <= 60);
    QPen pen(colour);
    pen.setWidthF(2);
    series->setPen(pen);
    chart->addSeries(series);
    // Reforço exercises apart from the lessons' line: green diamonds, named in the legend.
    auto* apart = new QScatterSeries;
    apart->setName(QStringLiteral("Reforço"));
    apart->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
    apart->setMarkerSize(9);
    apart->setColor(QColor(0x2E, 0x9E, 0x44));
    apart->append(reforcos);
    chart->addSeries(apart);
    chart->legend()->setVisible(!reforcos.isEmpty());
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Exercício"));
    x->setLabelFormat(QStringLiteral("%d"));
    // A lone exercise stands in the middle, not in a corner.
    const double first = points.front().x();
    const double last = points.back().x();
    x->setRange(last > first ? first : first - 1, last > first ? last : first + 1);
    x->setTickCount(7);
    x->applyNiceNumbers();
    // Whole exercises only: a short range gets a tick per exercise, not halves labelled twice.
    if (const double span = x->max() - x->min(); span < 6)
        x->setTickCount(static_cast<int>(span) + 1);
    auto* y = new QValueAxis;
    y->setTitleText(chart->property("yTitle").toString());
    y->setLabelFormat(QStringLiteral("%d"));
    y->setRange(0, yMax);
    y->setTickCount(6);
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* each : chart->series()) {
        each->attachAxis(x);
        each->attachAxis(y);
    }
}

QString shortDate(const std::string& iso) {
    const QDate d = QDate::fromString(FromUtf8(iso.substr(0, 10)), Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : FromUtf8(iso);
}

} // namespace

TfrmAluno::TfrmAluno(const TStudentRow& student, QWidget* parent)
    : QWidget(parent, Qt::Window), m_student(student) {
    setObjectName(QStringLiteral("frmAluno"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Aluno: ") + FromUtf8(student.Name));

    m_history = ReadHistoryFile(HistoryFileIn(ReportDataFolder(), student.Name));
    const auto& c = student.Cells;
    const auto timeAndSpeed = CourseTimeAndSpeed(student, m_history);
    lblResumo = new QLabel(this);
    lblResumo->setObjectName(QStringLiteral("lblResumo"));
    lblResumo->setWordWrap(true);
    lblResumo->setTextFormat(Qt::PlainText);
    lblResumo->setText(
        FromUtf8(student.Name) + QStringLiteral(" — ") + cellText(c[1]) + QStringLiteral(", teclado ") +
        cellText(c[2]) + QStringLiteral("\nAulas concluídas: ") + cellText(c[3]) +
        QStringLiteral(" de 24   Aula atual: ") +
        (c[4].Text.empty() ? QStringLiteral("nenhuma") : cellText(c[4])) + QStringLiteral("   Diploma: ") +
        cellText(c[12]) + QStringLiteral("\nNo curso: palavras certas ") + cellText(c[5]) +
        QStringLiteral(", erradas ") + cellText(c[6]) + QStringLiteral("; teclas certas ") + cellText(c[7]) +
        QStringLiteral(", erradas ") + cellText(c[8]) + QStringLiteral("; acerto ") + cellText(c[9]) +
        (c[9].Text == kUnreadable ? QStringLiteral("; tempo total ") : QStringLiteral("%; tempo total ")) +
        cellText(timeAndSpeed[0]) + QStringLiteral("; ") + cellText(timeAndSpeed[1]) +
        QStringLiteral(" teclas por minuto"));
    lblResumo->setToolTip(
        FromUtf8(timeAndSpeed[0].Problem.empty() ? timeAndSpeed[0].Note : timeAndSpeed[0].Problem));
    if (!student.FileProblem.empty())
        lblResumo->setText(FromUtf8(student.Name) + QStringLiteral(": ") + FromUtf8(student.FileProblem));

    m_rows = StudentLessonRows(ReportDataFolder(), student, ReadLessonFacts(ReportDataFolder()), &m_history);
    m_model = new TCellTableModel(LessonColumns(), this);
    m_model->SetRows(m_rows);
    tblAulas = new QTableView(this);
    tblAulas->setObjectName(QStringLiteral("tblAulas"));
    tblAulas->setModel(m_model);
    tblAulas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblAulas->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblAulas->setAlternatingRowColors(true);
    tblAulas->verticalHeader()->setVisible(false);
    tblAulas->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblAulas->resizeColumnsToContents();

    lblHistorico = new QLabel(this);
    lblHistorico->setObjectName(QStringLiteral("lblHistorico"));
    lblHistorico->setWordWrap(true);
    chtAcerto = makeChart(this, "chtAcerto", QStringLiteral("Acerto por exercício (%)"),
                          QStringLiteral("% de teclas certas"));
    chtTeclas = makeChart(this, "chtTeclas", QStringLiteral("Teclas por minuto por exercício"),
                          QStringLiteral("teclas/min"));

    pnlTeclas = new TKeyErrorsPanel(this, QStringLiteral("Teclas"));
    pnlTeclas->SetStudent(m_history.KeySums, LastExercisesKeySum(m_history), student.Layout);

    btnCsv = new QPushButton(QStringLiteral("Exportar &CSV..."), this);
    btnCsv->setObjectName(QStringLiteral("btnCsv"));
    btnImprimir = new QPushButton(QStringLiteral("&Imprimir..."), this);
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnPdf = new QPushButton(QStringLiteral("Salvar &PDF..."), this);
    btnPdf->setObjectName(QStringLiteral("btnPdf"));
    btnFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));

    auto* charts = new QHBoxLayout;
    charts->addWidget(chtAcerto);
    charts->addWidget(chtTeclas);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCsv);
    buttons->addWidget(btnImprimir);
    buttons->addWidget(btnPdf);
    buttons->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblResumo);
    layout->addWidget(tblAulas, 3);
    layout->addWidget(lblHistorico);
    layout->addLayout(charts, 2);
    layout->addWidget(pnlTeclas, 2);
    layout->addLayout(buttons);
    resize(1180, std::min(1000, screen()->availableGeometry().height() - 48));

    connect(btnCsv, &QPushButton::clicked, this, [this] { Guard([this] { btnCsvClick(); }); });
    connect(btnImprimir, &QPushButton::clicked, this, [this] { Guard([this] { btnImprimirClick(); }); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { Guard([this] { btnPdfClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);

    fillCharts();
}

void TfrmAluno::fillCharts() {
    const auto& entries = m_history.Entries;
    QString note;
    if (m_history.Missing)
        note =
            QStringLiteral("Sem histórico de exercícios: os gráficos aparecem depois do primeiro exercício "
                           "feito com esta versão do curso.");
    else if (!m_history.Problem.empty())
        note = FromUtf8(m_history.Problem) + QStringLiteral(". Sem gráficos.");
    else if (entries.empty())
        note = QStringLiteral("O histórico não tem nenhum exercício legível. Sem gráficos.");
    else
        note = m_history.Total == 1
                   ? QStringLiteral("1 exercício registrado, em %1.").arg(shortDate(entries.back().When))
                   : QStringLiteral("%1 exercícios registrados, de %2 a %3.")
                         .arg(m_history.Total)
                         .arg(shortDate(m_history.FirstWhen), shortDate(entries.back().When));
    if (m_history.Total > static_cast<std::int64_t>(entries.size()))
        note += QStringLiteral(" Os gráficos mostram os últimos %1.").arg(entries.size());
    if (const THistorySum& r = m_history.Reforcos; r.Exercises > 0)
        note +=
            QStringLiteral(" Reforço (treino das teclas mais erradas, fora das aulas): %1 %2, %3% de acerto.")
                .arg(r.Exercises)
                .arg(r.Exercises == 1 ? QStringLiteral("exercício") : QStringLiteral("exercícios"))
                .arg(RightPercentage(r.KeysRight, r.KeysWrong));
    if (m_history.BadLines == 1)
        note += QStringLiteral(" 1 linha danificada do histórico foi ignorada.");
    else if (m_history.BadLines > 1)
        note +=
            QStringLiteral(" %1 linhas danificadas do histórico foram ignoradas.").arg(m_history.BadLines);
    lblHistorico->setText(note);

    const bool drawn = !entries.empty();
    chtAcerto->setVisible(drawn);
    chtTeclas->setVisible(drawn);
    if (!drawn)
        return;
    QList<QPointF> accuracy;
    QList<QPointF> speed;
    double fastest = 0;
    // Numbered as in the whole history: the first kept exercise is not the first one.
    const double first = static_cast<double>(m_history.Total - static_cast<std::int64_t>(entries.size()) + 1);
    QList<QPointF> reforcoAccuracy;
    QList<QPointF> reforcoSpeed;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = first + static_cast<double>(i);
        (entries[i].Reforco ? reforcoAccuracy : accuracy) << QPointF(x, entries[i].Percent);
        (entries[i].Reforco ? reforcoSpeed : speed) << QPointF(x, entries[i].KeysPerMinute());
        fastest = std::max(fastest, entries[i].KeysPerMinute());
    }
    plot(chtAcerto->chart(), accuracy, 100, QColor(0x1F, 0x6F, 0xB4), reforcoAccuracy);
    plot(chtTeclas->chart(), speed, std::max(50.0, fastest * 1.05), QColor(0xD0, 0x60, 0x10), reforcoSpeed);
}

std::string TfrmAluno::Csv() const {
    return CsvDocument(LessonColumns(), m_rows);
}

TPrintedReport TfrmAluno::Printed() const {
    TPrintedReport p;
    p.Title = QStringLiteral("Aluno: ") + FromUtf8(m_student.Name);
    p.Lines = lblResumo->text().split(QLatin1Char('\n'));
    p.Lines << lblHistorico->text();
    p.Lines << pnlTeclas->Lines();
    for (const std::string& h : LessonColumns())
        p.Headers << FromUtf8(h);
    p.Rows = m_rows;
    p.Widths = {0.6, 2.8, 0.9, 1, 1, 1, 1, 1, 0.9, 0.9, 1, 1, 0.9};
    if (!m_history.Entries.empty())
        p.Charts = {chtAcerto->chart(), chtTeclas->chart()};
    return p;
}

void TfrmAluno::btnCsvClick() {
    SaveWithDialog(this, QStringLiteral("Exportar o aluno"),
                   FromUtf8(m_student.Name) + QStringLiteral(".csv"), QStringLiteral("Planilha CSV (*.csv)"),
                   Csv());
}

void TfrmAluno::btnImprimirClick() {
    ShowReportPreview(Printed(), this);
}

void TfrmAluno::btnPdfClick() {
    const QString path = PickPdfFile(this, FromUtf8(m_student.Name) + QStringLiteral(".pdf"));
    if (!path.isEmpty() && !WriteReportPdf(Printed(), path))
        ShowMessage(QStringLiteral("O arquivo \"") + path + QStringLiteral("\" não pôde ser gravado."));
}
