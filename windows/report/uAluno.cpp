#include "windows/report/uAluno.h"

#include "core/exercise/judging.h"
#include "core/report/keyReport.h"
#include "windows/report/keyErrorsView.h"
#include "windows/report/reportPrint.h"
#include "windows/report/uRelatorio.h"
#include "windows/widgets/makers.h"
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
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <functional>

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

// The points, and under them, where given, the goal each point was held against (a dashed line);
// Reforço exercises apart from the lessons' line.
void plot(QChart* chart, const QList<QPointF>& points, double yMin, double yMax, const QColor& colour,
          const QList<QPointF>& goal = {}, const QList<QPointF>& reforcos = {}) {
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
    QLineSeries* goalSeries = nullptr;
    if (!goal.isEmpty()) {
        goalSeries = new QLineSeries;
        goalSeries->setName(QStringLiteral("Mínimo da aula"));
        goalSeries->append(goal);
        QPen dashed(QColor(0xB0, 0x20, 0x20));
        dashed.setWidthF(1.5);
        dashed.setStyle(Qt::DashLine);
        goalSeries->setPen(dashed);
        chart->addSeries(goalSeries);
    }
    // Reforço exercises apart from the lessons' line: green diamonds, named in the legend.
    if (!reforcos.isEmpty()) {
        auto* apart = new QScatterSeries;
        apart->setName(QStringLiteral("Reforço"));
        apart->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
        apart->setMarkerSize(9);
        apart->setColor(QColor(0x2E, 0x9E, 0x44));
        apart->append(reforcos);
        chart->addSeries(apart);
    }
    chart->legend()->setVisible(goalSeries != nullptr || !reforcos.isEmpty());
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
    y->setRange(yMin, yMax);
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

TfrmAluno::TfrmAluno(const TStudentRow& student, QWidget* parent, const TReportPeriod& period)
    : QWidget(parent, Qt::Window), m_student(student), m_period(period) {
    setObjectName(QStringLiteral("frmAluno"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Aluno: ") + FromUtf8(student.Name));

    // One reading: the totals, the period's figures, and the latest exercises (of the period) to draw,
    // numbered as in the whole history.
    std::int64_t number = 0;
    // Without a period the kept entries are the ones to draw, and nothing else is looked at per line.
    std::function<void(const THistoryEntry&)> inPeriod;
    if (m_period.Active())
        inPeriod = [&](const THistoryEntry& e) {
            ++number;
            m_activity.Add(e, m_period);
            const auto day = HistoryDay(e.When);
            if (!day || !m_period.Contains(*day))
                return;
            m_charted.push_back({number, e});
            if (m_charted.size() >= 2 * kHistoryKept)
                m_charted.erase(m_charted.begin(), m_charted.end() - kHistoryKept);
        };
    m_history = ReadHistoryFile(HistoryFileIn(ReportDataFolder(), student.Name), kHistoryKept, inPeriod);
    if (!m_period.Active())
        for (std::size_t i = 0; i < m_history.Entries.size(); ++i)
            m_charted.push_back(
                {m_history.Total - static_cast<std::int64_t>(m_history.Entries.size() - i) + 1,
                 m_history.Entries[i]});
    if (m_charted.size() > kHistoryKept)
        m_charted.erase(m_charted.begin(), m_charted.end() - kHistoryKept);
    if (!m_history.Problem.empty())
        m_charted.clear();
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
    if (m_period.Active() && m_history.Problem.empty()) {
        const double minutes = static_cast<double>(m_activity.PeriodSeconds) / 60.0;
        lblResumo->setText(lblResumo->text() + QStringLiteral("\nNo período (") + PeriodText(m_period) +
                           QStringLiteral("): %1 exercícios de aula, %2 minutos, %3 aulas aprovadas")
                               .arg(m_activity.PeriodExercises)
                               .arg(FromUtf8(DecimalComma(minutes, 1)))
                               .arg(m_activity.PeriodLessonsPassed()));
    }
    lblResumo->setToolTip(PlainToolTip(
        FromUtf8(timeAndSpeed[0].Problem.empty() ? timeAndSpeed[0].Note : timeAndSpeed[0].Problem)));
    if (!student.FileProblem.empty())
        lblResumo->setText(FromUtf8(student.Name) + QStringLiteral(": ") + FromUtf8(student.FileProblem));

    m_lessons = ReadLessonFacts(ReportDataFolder());
    m_rows = StudentLessonRows(ReportDataFolder(), student, m_lessons, &m_history);
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
    // Eight lessons in sight however small the screen: the page scrolls rather than squeeze the
    // table to a row (1024x768 with a large font).
    tblAulas->setMinimumHeight(tblAulas->horizontalHeader()->sizeHint().height() +
                               8 * tblAulas->verticalHeader()->defaultSectionSize() +
                               2 * tblAulas->frameWidth() +
                               tblAulas->horizontalScrollBar()->sizeHint().height());
    tblAulas->setTabKeyNavigation(false);
    SpeakCurrentItemOnFocus(tblAulas);

    lblHistorico = new QLabel(this);
    lblHistorico->setTextFormat(Qt::PlainText);
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
    // The page's parts scroll, its buttons stay: on a small screen (1024x768) everything is reachable.
    auto* content = new QWidget;
    auto* parts = new QVBoxLayout(content);
    parts->setContentsMargins(0, 0, 0, 0);
    parts->addWidget(lblResumo);
    parts->addWidget(tblAulas, 3);
    parts->addWidget(lblHistorico);
    parts->addLayout(charts, 2);
    // The keyboard and its lists are wider than a small screen with a large font: they scroll
    // sideways on their own, so that the page's texts wrap within the window instead of running off it.
    auto* keys = new QScrollArea(content);
    keys->setObjectName(QStringLiteral("scrTeclas"));
    keys->setFrameShape(QFrame::NoFrame);
    keys->setWidgetResizable(true);
    keys->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keys->setWidget(pnlTeclas);
    keys->setMinimumHeight(pnlTeclas->minimumSizeHint().height() +
                           keys->horizontalScrollBar()->sizeHint().height());
    parts->addWidget(keys, 2);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrPagina"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    // As designed where the screen has room; within the screen's free area where it has not (1024x768).
    const QRect free = screen()->availableGeometry();
    resize(std::min(1180, free.width() - 16), std::min(1000, free.height() - 48));
    // Esc closes the page as it closes a dialog; a screen reader hears the summary with the caption.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    setAccessibleDescription(lblResumo->text());

    connect(btnCsv, &QPushButton::clicked, this, [this] { Guard([this] { btnCsvClick(); }); });
    connect(btnImprimir, &QPushButton::clicked, this, [this] { Guard([this] { btnImprimirClick(); }); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { Guard([this] { btnPdfClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);

    fillCharts();
}

void TfrmAluno::fillCharts() {
    const auto& entries = m_history.Entries;
    const auto& charted = m_charted;
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
    if (m_period.Active() && !entries.empty())
        note += charted.empty()
                    ? QStringLiteral(" Nenhum no período (%1): sem gráficos.").arg(PeriodText(m_period))
                    : QStringLiteral(" Os gráficos mostram os do período (%1).").arg(PeriodText(m_period));
    const auto inPeriod =
        static_cast<std::int64_t>(m_period.Active() ? m_activity.PeriodExercises : m_history.Total);
    if (!charted.empty() && charted.size() == kHistoryKept &&
        inPeriod > static_cast<std::int64_t>(charted.size()))
        note += QStringLiteral(" Os gráficos mostram os últimos %1.").arg(charted.size());
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

    const bool drawn = !charted.empty();
    chtAcerto->setVisible(drawn);
    chtTeclas->setVisible(drawn);
    if (!drawn)
        return;
    QList<QPointF> accuracy;
    QList<QPointF> minimum;
    QList<QPointF> speed;
    double fastest = 0;
    double lowest = 100;
    QList<QPointF> reforcoAccuracy;
    QList<QPointF> reforcoSpeed;
    for (const TCharted& c : charted) {
        const auto x = static_cast<double>(c.Number);
        (c.Entry.Reforco ? reforcoAccuracy : accuracy) << QPointF(x, c.Entry.Percent);
        (c.Entry.Reforco ? reforcoSpeed : speed) << QPointF(x, c.Entry.KeysPerMinute());
        fastest = std::max(fastest, c.Entry.KeysPerMinute());
        lowest = std::min(lowest, static_cast<double>(c.Entry.Percent));
        if (c.Entry.Reforco)
            continue;
        // The minimum of each exercise's own lesson, a step under each point.
        const auto n = static_cast<std::size_t>(c.Entry.Lesson);
        if (n >= 1 && n <= m_lessons.size() && m_lessons[n - 1].Minimum.Problem.empty()) {
            const double goal = m_lessons[n - 1].Minimum.Number;
            minimum << QPointF(x - 0.5, goal) << QPointF(x + 0.5, goal);
            lowest = std::min(lowest, goal);
        }
    }
    // Pass and fail are decided between 90 and 95: the axis starts a little under the lowest figure
    // or minimum, not at 0, so that band is not squeezed into a tenth of the chart.
    const double bottom = std::max(0.0, std::floor((lowest - 5) / 10) * 10);
    plot(chtAcerto->chart(), accuracy, bottom, 100, QColor(0x1F, 0x6F, 0xB4), minimum, reforcoAccuracy);
    plot(chtTeclas->chart(), speed, 0, std::max(50.0, fastest * 1.05), QColor(0xD0, 0x60, 0x10), {},
         reforcoSpeed);
}

std::string TfrmAluno::Csv() const {
    return StudentCsv(m_student.Name, m_rows);
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
