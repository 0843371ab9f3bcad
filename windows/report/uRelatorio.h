#pragma once
#include "core/exercise/keySlips.h"
#include "core/report/classReport.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QWidget>

class QChartView;
class QComboBox;
class QDateEdit;
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
    // New columns (with their rows), as when a period is chosen.
    void SetTable(const std::vector<std::string>& headers, std::vector<std::vector<TReportCell>> rows);
    const TReportCell& Cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    std::vector<std::vector<TReportCell>> m_rows;
};

// Sorts a column the report's way and keeps the rows whose first column holds the filter text (and,
// with a lesson chosen, whose current lesson is that one).
class TCellSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetNameFilter(const QString& text);
    void SetLessonFilter(int lesson); // 0: every lesson
    int LessonFilter() const { return m_lesson; }

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::string m_filter;
    int m_lesson = 0;
};

// The class table: one row per student, sortable by every column, filtered by name.
class TfrmRelatorio : public QWidget {
    Q_OBJECT
public:
    TfrmRelatorio();

    QLabel* lblFiltro;
    QLineEdit* txtFiltro;
    QLabel* lblPeriodo;
    QComboBox* cmbPeriodo; // the whole course, the last 30 or 60 days, this year, dates chosen
    QDateEdit* dtDesde;
    QDateEdit* dtAte;
    QChartView* chtAulas; // how many students are at each lesson; a click on a bar keeps those
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
    // The period of the table's last three columns and of the students' pages; none for the whole course.
    const TReportPeriod& Period() const { return m_view.Period; }
    void PeriodChanged();
    // Keeps the students at that lesson (0: everyone), as a click on its bar does.
    void ShowLesson(int lesson);

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

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateStatus();
    void fillLessonChart();
    void fitColumns();
    TClassView m_view;
    void updateKeys();
    std::vector<TStudentRow> m_students;
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
// "de 01/12/2026 a 09/12/2026", "desde ...", "até ...".
QString PeriodText(const TReportPeriod& period);
