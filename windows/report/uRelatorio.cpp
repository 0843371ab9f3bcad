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

#include <QDate>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

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
            return FromUtf8(cell.Problem);
        return cell.Note.empty() ? QVariant() : QVariant(FromUtf8(cell.Note));
    case Qt::TextAlignmentRole:
        if (!cell.Problem.empty())
            return QVariant::fromValue(Qt::AlignCenter);
        return QVariant::fromValue(Qt::AlignVCenter | (cell.Numeric ? Qt::AlignRight : Qt::AlignLeft));
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
    return NameMatchesFilter(model->Cell(sourceRow, 0).Text, m_filter);
}

// ---- TfrmRelatorio

TfrmRelatorio::TfrmRelatorio() {
    setObjectName(QStringLiteral("frmRelatorio"));
    setWindowTitle(QStringLiteral("Relatório da Turma"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    lblFiltro = new QLabel(QStringLiteral("&Filtrar por nome:"), this);
    txtFiltro = new QLineEdit(this);
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setClearButtonEnabled(true);
    txtFiltro->setPlaceholderText(QStringLiteral("parte do nome do aluno"));
    lblFiltro->setBuddy(txtFiltro);

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

    lblStatus = new QLabel(this);
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
    layout->addWidget(tblTurma, 1);
    layout->addWidget(lblStatus);
    layout->addWidget(pnlTeclas);
    layout->addLayout(buttons);
    Reload();
    // Every column in sight: as wide as the table, within the screen.
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(std::max(800, TableWidth()), screen.width() - 16), std::min(900, screen.height() - 48));

    connect(txtFiltro, &QLineEdit::textChanged, this, [this](const QString& text) {
        Guard([&] {
            m_proxy->SetNameFilter(text);
            updateStatus();
            updateKeys();
        });
    });
    connect(tblTurma, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { Guard([&] { ShowStudent(index.row()); }); });
    connect(btnAluno, &QPushButton::clicked, this, [this] { Guard([this] { btnAlunoClick(); }); });
    connect(btnCsv, &QPushButton::clicked, this, [this] { Guard([this] { btnCsvClick(); }); });
    connect(btnImprimir, &QPushButton::clicked, this, [this] { Guard([this] { btnImprimirClick(); }); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { Guard([this] { btnPdfClick(); }); });
    connect(btnAtualizar, &QPushButton::clicked, this, [this] { Guard([this] { Reload(); }); });
    connect(btnSair, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmRelatorio::Reload() {
    m_folderProblem.clear();
    m_students = ReadClass(ReportDataFolder(), &m_folderProblem);
    std::vector<std::vector<TReportCell>> rows;
    rows.reserve(m_students.size());
    for (const TStudentRow& s : m_students)
        rows.push_back(s.Cells);
    m_model->SetRows(std::move(rows));
    tblTurma->resizeColumnsToContents();
    // Every column in sight on a screen 1,280 wide: the keyboard's long name gives way (cut with "…").
    if (const int excess = TableWidth() - (1280 - 16); excess > 0)
        tblTurma->setColumnWidth(2, std::max(fontMetrics().horizontalAdvance(QStringLiteral("ABNT II")) + 12,
                                             tblTurma->columnWidth(2) - excess));
    m_keySums.clear();
    m_keySums.reserve(m_students.size());
    for (const TStudentRow& s : m_students)
        m_keySums.push_back(ReadStudentKeySum(ReportDataFolder(), s.Name));
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
        sum.Add(m_keySums.at(i));
        abnt2 += m_students.at(i).Layout;
    }
    pnlTeclas->SetClass(sum, 2 * abnt2 >= shown && shown > 0 ? 1 : 0, shown);
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
    auto* page = new TfrmAluno(m_students.at(static_cast<std::size_t>(source)), this);
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
    return CsvDocument(ClassColumns(), rows);
}

TPrintedReport TfrmRelatorio::Printed() const {
    TPrintedReport p;
    p.Title = QStringLiteral("Relatório da Turma");
    QString line =
        QStringLiteral("%1 %2").arg(m_proxy->rowCount()).arg(m_proxy->rowCount() == 1 ? "aluno" : "alunos");
    if (!txtFiltro->text().isEmpty())
        line += QStringLiteral(" cujo nome contém \"") + txtFiltro->text() + QStringLiteral("\"");
    p.Lines << line + QStringLiteral(" — ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    for (const std::string& h : ClassColumns())
        p.Headers << FromUtf8(h);
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        p.Rows.push_back(
            m_students.at(static_cast<std::size_t>(m_proxy->mapToSource(m_proxy->index(r, 0)).row())).Cells);
    p.Widths = {2.6, 1.3, 2.2, 1, 0.8, 1, 1, 1, 1, 0.9, 1, 1, 0.8};
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
