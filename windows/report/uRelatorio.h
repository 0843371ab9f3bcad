#pragma once
#include "core/exercise/keySlips.h"
#include "core/report/classReport.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TKeyErrorsPanel;
struct TPrintedReport;

// A table of report cells: the texts shown, the reason of an unreadable cell as its tool tip.
class TCellTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TCellTableModel(const std::vector<std::string>& headers, QObject* parent);
    void SetRows(std::vector<std::vector<TReportCell>> rows);
    const TReportCell& Cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    std::vector<std::vector<TReportCell>> m_rows;
};

// Sorts a column the report's way and keeps the rows whose first column holds the filter text.
class TCellSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetNameFilter(const QString& text);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::string m_filter;
};

// The class table: one row per student, sortable by every column, filtered by name.
class TfrmRelatorio : public QWidget {
    Q_OBJECT
public:
    TfrmRelatorio();

    QLabel* lblFiltro;
    QLineEdit* txtFiltro;
    QTableView* tblTurma;
    QLabel* lblStatus;
    QPushButton* btnAluno;
    QPushButton* btnCsv;
    QPushButton* btnImprimir;
    QPushButton* btnPdf;
    QPushButton* btnAtualizar;
    QPushButton* btnSair;
    TKeyErrorsPanel* pnlTeclas; // the keys the students shown miss most, on one keyboard

    // Reads the data folder again and fills the table, keeping the sorting and the filter.
    void Reload();

    // The student on the selected row (or `row` of the shown table); opens the student's page.
    void ShowStudent(int shownRow);
    void btnAlunoClick();
    void btnCsvClick();
    void btnImprimirClick();
    void btnPdfClick();

    // The width that shows every column of the table whole.
    int TableWidth() const;

    // The rows as shown (filtered and sorted), for the CSV file and the printed page.
    std::string ShownCsv() const;
    TPrintedReport Printed() const;

private:
    void updateStatus();
    void updateKeys();
    std::vector<TStudentRow> m_students;
    std::vector<TKeySum> m_keySums; // each student's, over the whole history
    std::string m_folderProblem;
    TCellTableModel* m_model;
    TCellSortProxy* m_proxy;
};

// The report's opening: the access dialog in administrator mode, then the class table. nullptr when
// access was refused or cancelled.
TfrmRelatorio* OpenClassReport();

// Saves bytes to a file the user picks; false when cancelled. Shows the reason when it cannot be written.
bool SaveWithDialog(QWidget* parent, const QString& caption, const QString& suggestedName,
                    const QString& filter, const std::string& bytes);
QString PickPdfFile(QWidget* parent, const QString& suggestedName);
