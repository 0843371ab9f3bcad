#include "windows/report/uRelatorio.h"

#include "core/report/keyReport.h"
#include "core/storage/profileKeys.h"
#include "core/storage/studentName.h"
#include "windows/course/uPassWord.h"
#include "windows/report/keyErrorsView.h"
#include "windows/report/reportPrint.h"
#include "windows/report/uAluno.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/qtText.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

// ---- TCellTableModel

TCellTableModel::TCellTableModel(const std::vector<std::string>& headers, QObject* parent)
    : QAbstractTableModel(parent) {
    for (const std::string& h : headers)
        m_headers << FromUtf8(h);
}

void TCellTableModel::SetRows(std::vector<std::vector<TReportCell>> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TCellTableModel::SetTable(const std::vector<std::string>& headers,
                               std::vector<std::vector<TReportCell>> rows) {
    beginResetModel();
    m_headers.clear();
    for (const std::string& h : headers)
        m_headers << FromUtf8(h);
    m_rows = std::move(rows);
    endResetModel();
}

const TReportCell& TCellTableModel::Cell(int row, int column) const {
    return m_rows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

int TCellTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TCellTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant TCellTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const auto& row = m_rows[static_cast<std::size_t>(index.row())];
    if (static_cast<std::size_t>(index.column()) >= row.size())
        return {};
    const TReportCell& cell = row[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return FromUtf8(cell.Text);
    case Qt::ToolTipRole:
        if (!cell.Problem.empty())
            return PlainToolTip(FromUtf8(cell.Problem));
        if (!cell.Note.empty())
            return PlainToolTip(FromUtf8(cell.Note));
        // A text cut short to fit the screen is whole here.
        return cell.Numeric || cell.Text.empty() ? QVariant() : QVariant(PlainToolTip(FromUtf8(cell.Text)));
    case Qt::BackgroundRole:
        switch (cell.Mark) {
        case TGoalMark::Below:
            return QColor(0xF6, 0xC9, 0xC4);
        case TGoalMark::At:
            return QColor(0xFB, 0xE7, 0xA8);
        case TGoalMark::Above:
            return QColor(0xC8, 0xE6, 0xC9);
        case TGoalMark::None:
            break;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (!cell.Problem.empty())
            return QVariant::fromValue(Qt::AlignCenter);
        return QVariant::fromValue(Qt::AlignVCenter | (AlignedRight(cell) ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant TCellTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size()) {
        // Headings a word a line, so the columns stay as narrow as their figures and all of them fit
        // a screen 1,280 wide.
        QString shown = m_headers[section];
        shown.replace(QLatin1Char(' '), QLatin1Char('\n'));
        return shown;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

// ---- TCellSortProxy

void TCellSortProxy::SetNameFilter(const QString& text) {
    m_filter = text.toStdString();
    invalidateFilter();
}

void TCellSortProxy::SetLessonFilter(int lesson) {
    m_lesson = lesson;
    invalidateFilter();
}

bool TCellSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto* model = static_cast<const TCellTableModel*>(sourceModel());
    const int c =
        CompareCells(model->Cell(left.row(), left.column()), model->Cell(right.row(), right.column()));
    if (c != 0)
        return c < 0;
    // Equal cells keep the students in name order, whichever way the column is sorted (the proxy asks
    // with the sides swapped when sorting downwards).
    const int byName = CompareCells(model->Cell(left.row(), 0), model->Cell(right.row(), 0));
    return sortOrder() == Qt::DescendingOrder ? byName > 0 : byName < 0;
}

bool TCellSortProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const auto* model = static_cast<const TCellTableModel*>(sourceModel());
    if (m_lesson != 0) {
        const TReportCell& current = model->Cell(sourceRow, kCurrentLessonColumn);
        if (!current.Problem.empty() || current.Number != m_lesson)
            return false;
    }
    return NameMatchesFilter(model->Cell(sourceRow, 0).Text, m_filter);
}

namespace {

// "Aulas concluídas" as a bar out of 24 with the number beside it: the number stays the cell's text,
// for screen readers and copies.
class TLessonsBarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        bool number = false;
        const int done = index.data().toString().toInt(&number);
        if (!number) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const int textWidth = opt.fontMetrics.horizontalAdvance(QStringLiteral("24")) + 6;
        const QRect box = opt.rect.adjusted(4, 0, -4, 0);
        QRect bar(box.left(), box.top() + box.height() / 4, box.width() - textWidth, box.height() / 2);
        painter->save();
        painter->setPen(QColor(0x90, 0x90, 0x90));
        painter->setBrush(QColor(0xF2, 0xF2, 0xF2));
        painter->drawRect(bar.adjusted(0, 0, -1, -1));
        const int filled = bar.width() * std::clamp(done, 0, 24) / 24;
        if (filled > 0)
            painter->fillRect(QRect(bar.left(), bar.top(), filled, bar.height()), QColor(0x3C, 0x8D, 0x5A));
        painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                             : QPalette::Text));
        painter->drawText(QRect(bar.right() + 1, box.top(), textWidth, box.height()),
                          Qt::AlignRight | Qt::AlignVCenter, index.data().toString());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize hint = QStyledItemDelegate::sizeHint(option, index);
        return {std::max(hint.width(), option.fontMetrics.horizontalAdvance(QStringLiteral("24")) + 60),
                hint.height()};
    }
};

TDay dayOf(const QDate& date) {
    return date.toJulianDay() - QDate(1970, 1, 1).toJulianDay();
}
QDate dateOf(TDay day) {
    return QDate::fromJulianDay(QDate(1970, 1, 1).toJulianDay() + day);
}

} // namespace

QString PeriodText(const TReportPeriod& p) {
    if (p.From && p.To)
        return QStringLiteral("de %1 a %2")
            .arg(FromUtf8(BrazilianDate(*p.From)), FromUtf8(BrazilianDate(*p.To)));
    if (p.From)
        return QStringLiteral("desde %1").arg(FromUtf8(BrazilianDate(*p.From)));
    return p.To ? QStringLiteral("até %1").arg(FromUtf8(BrazilianDate(*p.To))) : QString();
}

// ---- TfrmRelatorio

TfrmRelatorio::TfrmRelatorio() {
    setObjectName(QStringLiteral("frmRelatorio"));
    setWindowTitle(QStringLiteral("Relatório da Turma"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    lblFiltro = new QLabel(QStringLiteral("&Filtrar por nome:"), this);
    lblFiltro->setTextFormat(Qt::PlainText);
    txtFiltro = new QLineEdit(this);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setClearButtonEnabled(true);
    txtFiltro->setPlaceholderText(QStringLiteral("parte do nome do aluno"));
    lblFiltro->setBuddy(txtFiltro);

    lblPeriodo = new QLabel(QStringLiteral("P&eríodo:"), this);
    cmbPeriodo = new QComboBox(this);
    cmbPeriodo->setObjectName(QStringLiteral("cmbPeriodo"));
    cmbPeriodo->addItems({QStringLiteral("Todo o curso"), QStringLiteral("Últimos 30 dias"),
                          QStringLiteral("Últimos 60 dias"), QStringLiteral("Este ano"),
                          QStringLiteral("Escolher as datas")});
    lblPeriodo->setBuddy(cmbPeriodo);
    dtDesde = new QDateEdit(this);
    dtDesde->setObjectName(QStringLiteral("dtDesde"));
    dtAte = new QDateEdit(this);
    dtAte->setObjectName(QStringLiteral("dtAte"));
    for (QDateEdit* d : {dtDesde, dtAte}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setDate(QDate::currentDate());
        d->setEnabled(false);
    }
    dtDesde->setAccessibleName(QStringLiteral("Período desde"));
    dtAte->setAccessibleName(QStringLiteral("Período até"));
    auto* ateLabel = new QLabel(QStringLiteral("a"), this);

    chtAulas = new QChartView(new QChart, this);
    chtAulas->setObjectName(QStringLiteral("chtAulas"));
    chtAulas->setAccessibleName(QStringLiteral("Alunos em cada aula"));
    chtAulas->setRenderHint(QPainter::Antialiasing);
    chtAulas->chart()->legend()->hide();
    chtAulas->chart()->setAnimationOptions(QChart::NoAnimation);
    chtAulas->chart()->setTitle(QStringLiteral(
        "Alunos em cada aula (clique numa barra para ver só esses alunos; de novo, para ver todos)"));
    chtAulas->chart()->setMargins(QMargins(4, 0, 4, 0));
    chtAulas->setFixedHeight(std::max(150, fontMetrics().height() * 10));

    m_model = new TCellTableModel(ClassColumns(), this);
    m_proxy = new TCellSortProxy(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setDynamicSortFilter(true);

    tblTurma = new QTableView(this);
    tblTurma->setObjectName(QStringLiteral("tblTurma"));
    tblTurma->setModel(m_proxy);
    tblTurma->setSortingEnabled(true);
    tblTurma->sortByColumn(0, Qt::AscendingOrder);
    tblTurma->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblTurma->setSelectionMode(QAbstractItemView::SingleSelection);
    tblTurma->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblTurma->setAlternatingRowColors(true);
    tblTurma->verticalHeader()->setVisible(false);
    tblTurma->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblTurma->horizontalHeader()->setStretchLastSection(false);
    // By keys: the arrows walk the cells, Tab leaves the table, Enter opens the student's page.
    tblTurma->setTabKeyNavigation(false);
    SpeakCurrentItemOnFocus(tblTurma);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* open = new QShortcut(keys, tblTurma, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] {
            Guard([this] {
                if (tblTurma->currentIndex().isValid())
                    ShowStudent(tblTurma->currentIndex().row());
            });
        });
    }
    tblTurma->setItemDelegateForColumn(kLessonsDoneColumn, new TLessonsBarDelegate(tblTurma));
    tblTurma->setTextElideMode(Qt::ElideRight);

    lblStatus = new QLabel(this);
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);

    btnAluno = MakeButton(this, "btnAluno", QStringLiteral("&Ver Aluno..."));
    btnCsv = MakeButton(this, "btnCsv", QStringLiteral("Exportar &CSV..."));
    btnImprimir = MakeButton(this, "btnImprimir", QStringLiteral("&Imprimir..."));
    btnPdf = MakeButton(this, "btnPdf", QStringLiteral("Salvar &PDF..."));
    btnAtualizar = MakeButton(this, "btnAtualizar", QStringLiteral("&Atualizar"));
    btnSair = MakeButton(this, "btnSair", QStringLiteral("&Sair"));

    pnlTeclas = new TKeyErrorsPanel(this, QStringLiteral("Teclas da turma"));

    auto* top = new QHBoxLayout;
    top->addWidget(lblFiltro);
    top->addWidget(txtFiltro, 1);
    top->addSpacing(12);
    top->addWidget(lblPeriodo);
    top->addWidget(cmbPeriodo);
    top->addWidget(dtDesde);
    top->addWidget(ateLabel);
    top->addWidget(dtAte);
    top->addSpacing(12);
    top->addWidget(btnAtualizar);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAluno);
    buttons->addStretch(1);
    buttons->addWidget(btnCsv);
    buttons->addWidget(btnImprimir);
    buttons->addWidget(btnPdf);
    buttons->addWidget(btnSair);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(chtAulas);
    layout->addWidget(tblTurma, 1);
    layout->addWidget(lblStatus);
    layout->addWidget(pnlTeclas);
    layout->addLayout(buttons);
    Reload();
    // Every column in sight: as wide as the table, within the screen.
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(std::max(800, TableWidth()), screen.width() - 16), std::min(820, screen.height() - 48));

    connect(txtFiltro, &QLineEdit::textChanged, this, [this](const QString& text) {
        Guard([&] {
            m_proxy->SetNameFilter(text);
            updateStatus();
            updateKeys();
        });
    });
    connect(cmbPeriodo, &QComboBox::currentIndexChanged, this,
            [this] { Guard([this] { PeriodChanged(); }); });
    for (QDateEdit* d : {dtDesde, dtAte})
        connect(d, &QDateEdit::dateChanged, this, [this] {
            Guard([this] {
                if (cmbPeriodo->currentIndex() == 4)
                    PeriodChanged();
            });
        });
    connect(tblTurma->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this] { Guard([this] { fitColumns(); }); });
    connect(tblTurma, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { Guard([&] { ShowStudent(index.row()); }); });
    connect(btnAluno, &QPushButton::clicked, this, [this] { Guard([this] { btnAlunoClick(); }); });
    connect(btnCsv, &QPushButton::clicked, this, [this] { Guard([this] { btnCsvClick(); }); });
    connect(btnImprimir, &QPushButton::clicked, this, [this] { Guard([this] { btnImprimirClick(); }); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { Guard([this] { btnPdfClick(); }); });
    connect(btnAtualizar, &QPushButton::clicked, this, [this] { Guard([this] { Reload(); }); });
    connect(btnSair, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmRelatorio::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown, the window may have the desktop's fonts, which the toolkit's measure of the headings
    // followed: measured again, and the window as wide as the table where the screen allows.
    Guard([this] {
        fitColumns();
        const QRect screen = this->screen()->availableGeometry();
        if (width() < TableWidth())
            resize(std::min(TableWidth(), screen.width() - 16), height());
    });
}

void TfrmRelatorio::Reload() {
    m_folderProblem.clear();
    m_view.Today = LocalToday();
    m_view.Lessons = ReadLessonFacts(ReportDataFolder());
    m_students = ReadClass(ReportDataFolder(), &m_folderProblem, &m_view);
    std::vector<std::vector<TReportCell>> rows;
    rows.reserve(m_students.size());
    for (const TStudentRow& s : m_students)
        rows.push_back(s.Cells);
    m_model->SetTable(ClassColumns(m_view.Period.Active()), std::move(rows));
    fitColumns();
    fillLessonChart();
    updateStatus();
    updateKeys();
}

void TfrmRelatorio::updateKeys() {
    // The students shown; the keys named on the layout most of them have (ABNT2 on a tie).
    TKeySum sum;
    int abnt2 = 0;
    const int shown = m_proxy->rowCount();
    for (int r = 0; r < shown; ++r) {
        const auto i = static_cast<std::size_t>(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
        sum.Add(m_students.at(i).Keys);
        abnt2 += m_students.at(i).Layout;
    }
    pnlTeclas->SetClass(sum, 2 * abnt2 >= shown && shown > 0 ? 1 : 0, shown);
}

void TfrmRelatorio::PeriodChanged() {
    const int choice = cmbPeriodo->currentIndex();
    const TDay today = LocalToday();
    TReportPeriod period;
    switch (choice) {
    case 1:
    case 2: // today and the 29 (59) days before it
        period = {today - (choice == 1 ? 29 : 59), today};
        break;
    case 3:
        period = {ParseIsoDate(IsoDate(today).substr(0, 4) + "-01-01"), today};
        break;
    case 4:
        period = {dayOf(dtDesde->date()), dayOf(dtAte->date())};
        break;
    default:
        break;
    }
    for (QDateEdit* d : {dtDesde, dtAte}) {
        const QSignalBlocker quiet(d);
        d->setEnabled(choice == 4);
    }
    if (choice != 4 && period.Active()) {
        // The dates the choice stands for, shown; "Escolher as datas" starts from them.
        const QSignalBlocker quietFrom(dtDesde);
        const QSignalBlocker quietTo(dtAte);
        dtDesde->setDate(dateOf(*period.From));
        dtAte->setDate(dateOf(*period.To));
    }
    m_view.Period = period;
    Reload();
}

void TfrmRelatorio::ShowLesson(int lesson) {
    m_proxy->SetLessonFilter(lesson);
    const auto series = chtAulas->chart()->series();
    if (!series.isEmpty())
        if (QBarSet* set = static_cast<QBarSeries*>(series.first())->barSets().value(0)) {
            set->deselectAllBars();
            if (lesson > 0)
                set->selectBar(lesson - 1);
        }
    updateStatus();
}

void TfrmRelatorio::fillLessonChart() {
    QChart* chart = chtAulas->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    std::array<int, 24> count{};
    for (const TStudentRow& s : m_students) {
        const TReportCell& current = s.Cells[kCurrentLessonColumn];
        if (current.Problem.empty() && current.Number >= 1 && current.Number <= 24)
            ++count[static_cast<std::size_t>(current.Number) - 1];
    }
    auto* set = new QBarSet(QStringLiteral("Alunos"));
    set->setColor(QColor(0x1F, 0x6F, 0xB4));
    set->setSelectedColor(QColor(0xD0, 0x60, 0x10));
    QStringList lessons;
    int most = 0;
    for (std::size_t n = 0; n < count.size(); ++n) {
        *set << count[n];
        lessons << QString::number(n + 1);
        most = std::max(most, count[n]);
    }
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    series->setBarWidth(0.8);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(lessons);
    x->setTitleText(QStringLiteral("Aula atual"));
    auto* y = new QValueAxis;
    y->setRange(0, std::max(1, most));
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTickCount(std::min(most, 4) + 1);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    connect(set, &QBarSet::clicked, this, [this](int index) {
        Guard([&] { ShowLesson(m_proxy->LessonFilter() == index + 1 ? 0 : index + 1); });
    });
    if (m_proxy->LessonFilter() > 0)
        set->selectBar(m_proxy->LessonFilter() - 1);
}

void TfrmRelatorio::fitColumns() {
    // As wide as the cells and the heading. The toolkit's own measure gives every heading, sorted or
    // not, room for a sort arrow as wide as the heading is high (three lines made each column some 40
    // points wider than its figures): the headings are measured without the arrow, and only the sorted
    // one gets room for it.
    QHeaderView* header = tblTurma->horizontalHeader();
    header->setSortIndicatorShown(false);
    tblTurma->resizeColumnsToContents();
    header->setSortIndicatorShown(true);
    if (const int sorted = header->sortIndicatorSection(); sorted >= 0 && sorted < m_model->columnCount())
        tblTurma->setColumnWidth(sorted, tblTurma->columnWidth(sorted) + header->fontMetrics().height());
    // Every column in sight on a screen 1,280 wide (wider screens show more of each text): the texts
    // that can be long (names, the keyboard, the level, the situation) give way, cut short with "…"
    // and whole in their tool tips.
    const int target = std::max(1280, screen()->availableGeometry().width()) - 16;
    const int excess = TableWidth() - target;
    if (excess <= 0)
        return;
    // The keyboard and the level give way first (they are in the tool tips), then the name (to some
    // eleven letters), then the situation, whose lesson and tries stay in sight.
    const QFontMetrics fm = fontMetrics();
    const struct {
        int column;
        int floor;
    } elastic[] = {
        {2, fm.horizontalAdvance(QStringLiteral("ABNT II")) + 12},
        {1, fm.horizontalAdvance(QStringLiteral("Adm…")) + 12},
        {static_cast<int>(kNameColumn), fm.horizontalAdvance(QStringLiteral("Maria Apare…")) + 8},
        {static_cast<int>(kSituationColumn), fm.horizontalAdvance(QStringLiteral("Aula 11: 5 tentat…")) + 8}};
    int left = excess;
    for (const auto& e : elastic) {
        const int cut = std::min(left, std::max(0, tblTurma->columnWidth(e.column) - e.floor));
        tblTurma->setColumnWidth(e.column, tblTurma->columnWidth(e.column) - cut);
        left -= cut;
    }
}

int TfrmRelatorio::TableWidth() const {
    int width = tblTurma->frameWidth() * 2 + tblTurma->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < m_model->columnCount(); ++c)
        width += tblTurma->columnWidth(c);
    const QMargins m = layout()->contentsMargins();
    return width + m.left() + m.right();
}

void TfrmRelatorio::updateStatus() {
    const int shown = m_proxy->rowCount();
    const int all = m_model->rowCount();
    QString text =
        shown == all ? QStringLiteral("%1 %2.").arg(all).arg(all == 1 ? "aluno" : "alunos")
                     : QStringLiteral("%1 de %2 %3.").arg(shown).arg(all).arg(all == 1 ? "aluno" : "alunos");
    int bad = 0;
    for (const TStudentRow& s : m_students) {
        bool any = !s.FileProblem.empty();
        for (const TReportCell& c : s.Cells)
            any = any || !c.Problem.empty();
        bad += any ? 1 : 0;
    }
    if (bad > 0)
        text += QStringLiteral(
                    " %1 com valores que não puderam ser lidos (—): o motivo aparece ao passar o mouse.")
                    .arg(bad);
    if (!m_folderProblem.empty())
        text += QStringLiteral(" ") + FromUtf8(m_folderProblem) + QStringLiteral(".");
    else if (all == 0)
        text += QStringLiteral(" A pasta \"") + FromPath(ReportDataFolder() / files::UsersFolder) +
                QStringLiteral("\" não tem nenhum aluno.");
    if (m_proxy->LessonFilter() > 0)
        text += QStringLiteral(" Só os alunos na aula %1 (clique de novo na barra para ver todos).")
                    .arg(m_proxy->LessonFilter());
    if (m_view.Period.Active())
        text += QStringLiteral(" Período: ") + PeriodText(m_view.Period) + QStringLiteral(".");
    if (!ReportNotice().empty())
        text += QStringLiteral(" ") + FromUtf8(ReportNotice());
    text += QStringLiteral(" Duplo clique num aluno abre a página dele.");
    lblStatus->setText(text);
}

void TfrmRelatorio::ShowStudent(int shownRow) {
    if (shownRow < 0 || shownRow >= m_proxy->rowCount())
        return;
    const int source = m_proxy->mapToSource(m_proxy->index(shownRow, 0)).row();
    // A page of its own, kept until it is closed; several students can be compared side by side.
    auto* page = new TfrmAluno(m_students.at(static_cast<std::size_t>(source)), this, m_view.Period);
    page->show();
}

void TfrmRelatorio::btnAlunoClick() {
    const auto selected = tblTurma->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        ShowMessage(QStringLiteral("Selecione um aluno na tabela."));
        return;
    }
    ShowStudent(selected.first().row());
}

std::string TfrmRelatorio::ShownCsv() const {
    std::vector<std::vector<TReportCell>> rows;
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        rows.push_back(
            m_students.at(static_cast<std::size_t>(m_proxy->mapToSource(m_proxy->index(r, 0)).row())).Cells);
    return CsvDocument(ClassColumns(m_view.Period.Active()), rows);
}

TPrintedReport TfrmRelatorio::Printed() const {
    TPrintedReport p;
    p.Title = QStringLiteral("Relatório da Turma");
    QString line =
        QStringLiteral("%1 %2").arg(m_proxy->rowCount()).arg(m_proxy->rowCount() == 1 ? "aluno" : "alunos");
    if (!txtFiltro->text().isEmpty())
        line += QStringLiteral(" cujo nome contém \"") + txtFiltro->text() + QStringLiteral("\"");
    if (m_proxy->LessonFilter() > 0)
        line += QStringLiteral(" na aula %1").arg(m_proxy->LessonFilter());
    if (m_view.Period.Active())
        line += QStringLiteral("; período ") + PeriodText(m_view.Period);
    p.Lines << line + QStringLiteral(" — ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    for (const std::string& h : ClassColumns(m_view.Period.Active()))
        p.Headers << FromUtf8(h);
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        p.Rows.push_back(
            m_students.at(static_cast<std::size_t>(m_proxy->mapToSource(m_proxy->index(r, 0)).row())).Cells);
    p.Widths = {2.3, 1.0, 1.5, 1.0, 0.7, 1, 1, 1, 1, 0.8, 1.2, 0.9, 0.9, 1.5, 2.6, 1.2, 1.1, 1.1};
    p.Widths = p.Widths.mid(0, p.Headers.size());
    // Paper has no tool tips: one line says what the dashes mean.
    const bool unreadable = std::any_of(p.Rows.begin(), p.Rows.end(), [](const auto& row) {
        return std::any_of(row.begin(), row.end(), [](const TReportCell& c) { return !c.Problem.empty(); });
    });
    p.Lines << pnlTeclas->Lines();
    if (unreadable)
        p.Lines << QStringLiteral(
            "— : valor que não pôde ser lido (arquivo danificado ou valor inválido); o motivo "
            "aparece na janela do relatório, ao passar o mouse.");
    return p;
}

void TfrmRelatorio::btnCsvClick() {
    SaveWithDialog(this, QStringLiteral("Exportar a turma"), QStringLiteral("turma.csv"),
                   QStringLiteral("Planilha CSV (*.csv)"), ShownCsv());
}

void TfrmRelatorio::btnImprimirClick() {
    ShowReportPreview(Printed(), this);
}

void TfrmRelatorio::btnPdfClick() {
    const QString path = PickPdfFile(this, QStringLiteral("turma.pdf"));
    if (!path.isEmpty() && !WriteReportPdf(Printed(), path))
        ShowMessage(QStringLiteral("O arquivo \"") + path + QStringLiteral("\" não pôde ser gravado."));
}

// ---- Opening and files

TfrmRelatorio* OpenClassReport() {
    if (!frmPassWord)
        frmPassWord = new TfrmPassWord;
    TfrmPassWord* d = frmPassWord;
    d->Prepare(TAccessMode::Administrator); // builds the boxes; what they hold is the report's rule
    d->setWindowTitle(QStringLiteral("Senha de Acesso: Relatório da Turma"));
    const bool builtIn = !ClassHasAdministrator(ReportDataFolder());
    d->txtName->setText(builtIn ? QString::fromLatin1(keys::BuiltInAdmin) : QString());
    d->txtName->setEnabled(!builtIn);
    d->txtPassWord->setMaxLength(builtIn ? 32767 : kMaxPasswordLength);
    d->txtPassWord->setText(builtIn ? QString::fromLatin1(keys::NoPasswordMarker) : QString());
    d->txtPassWord->setEnabled(!builtIn);
    (builtIn ? static_cast<QWidget*>(d->btnOK) : static_cast<QWidget*>(d->txtName))->setFocus();
    // The report's own check, which writes nothing into the profiles; a refusal leaves the dialog up
    // for another try.
    QObject::disconnect(d->btnOK, &QPushButton::clicked, d, nullptr);
    const auto check = QObject::connect(d->btnOK, &QPushButton::clicked, d, [d, builtIn] {
        Guard([&] {
            if (builtIn) {
                d->done(QDialog::Accepted);
                return;
            }
            if (d->txtPassWord->text().isEmpty()) {
                ShowMessage(QStringLiteral("Você deve colocar uma senha para este usuário."));
                return;
            }
            const TAccessVerdict v = CheckReportAccess(ReportDataFolder(), d->txtName->text().toStdString(),
                                                       d->txtPassWord->text().toStdString());
            if (v.Granted) {
                d->done(QDialog::Accepted);
                return;
            }
            ShowMessage(FromUtf8(v.Message));
            d->txtPassWord->clear();
            d->txtPassWord->setFocus();
        });
    });
    const int result = d->exec();
    QObject::disconnect(check);
    if (result != QDialog::Accepted)
        return nullptr;
    auto* report = new TfrmRelatorio;
    report->show();
    return report;
}

bool SaveWithDialog(QWidget* parent, const QString& caption, const QString& suggestedName,
                    const QString& filter, const std::string& bytes) {
    const QString path = QFileDialog::getSaveFileName(parent, caption, suggestedName, filter);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit())
        return true;
    // The toolkit's own texts follow the system's language; the reason is said here in Portuguese.
    QString reason = QStringLiteral("erro de gravação (o disco pode estar cheio)");
    if (file.error() == QFileDevice::PermissionsError)
        reason = QStringLiteral("permissão negada");
    else if (file.error() == QFileDevice::OpenError)
        reason = QStringLiteral("o arquivo não pôde ser aberto para gravação");
    ShowMessage(QStringLiteral("O arquivo \"") + path + QStringLiteral("\" não pôde ser gravado: ") + reason +
                QStringLiteral("."));
    return false;
}

QString PickPdfFile(QWidget* parent, const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Salvar em PDF"), suggestedName,
                                        QStringLiteral("Documento PDF (*.pdf)"));
}
