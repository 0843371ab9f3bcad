#pragma once
#include "core/exercise/history.h"
#include "core/report/classReport.h"

#include <QWidget>

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QTableView;
class TCellTableModel;
class TKeyErrorsPanel;
struct TPrintedReport;

// A student's page: the 24 lessons with their figures beside each lesson's minimum and time allowed,
// and the student's progress over the recorded exercises in two charts.
class TfrmAluno : public QWidget {
    Q_OBJECT
public:
    TfrmAluno(const TStudentRow& student, QWidget* parent);

    QLabel* lblResumo;
    QTableView* tblAulas;
    QLabel* lblHistorico;       // what the history holds, or why there is no chart
    QChartView* chtAcerto;      // right keys per exercise, %
    QChartView* chtTeclas;      // keys per minute per exercise
    TKeyErrorsPanel* pnlTeclas; // which keys go wrong, on the student's keyboard
    QPushButton* btnCsv;
    QPushButton* btnImprimir;
    QPushButton* btnPdf;
    QPushButton* btnFechar;

    const TStudentRow& Student() const { return m_student; }
    const THistory& History() const { return m_history; }
    const std::vector<std::vector<TReportCell>>& LessonRows() const { return m_rows; }

    std::string Csv() const;
    TPrintedReport Printed() const;
    void btnCsvClick();
    void btnImprimirClick();
    void btnPdfClick();

private:
    void fillCharts();
    TStudentRow m_student;
    THistory m_history;
    std::vector<std::vector<TReportCell>> m_rows;
    TCellTableModel* m_model;
};
