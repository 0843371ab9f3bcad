#pragma once
#include <QImage>
#include <QStringList>
#include <QWidget>

class QPainter;
class QPaintDevice;
class TBalloonHint;

// The diploma: one A4 page, portrait, 10 mm margins, painted in millimetres by one routine that
// serves the preview, the printer, a PDF and images alike.
class TfrmDiploma : public QWidget {
    Q_OBJECT
public:
    TfrmDiploma();

    QImage img;       // the logo, stretched into its box
    QString QRLabel1; // the title
    QString lblMes;   // the diploma text, lines joined by "\r\n"

    // The text from its pieces: date as the system writes it short, the student's name, and the
    // six totals as the catalogue shows them (time, words right, words wrong, letters right,
    // letters wrong, percentage with "%").
    static QString ComposeText(const QString& date, const QString& student, const QStringList& totals);

    // Paints the page on a device whose origin is the corner of the printable area.
    void PaintPage(QPainter& painter) const;
    // Height the text box needs, in millimetres: at least the designed 40.48, more for a long text.
    double TextBoxHeightMm(QPainter& painter) const;
};

extern TfrmDiploma* frmDiploma;

// The catalogue's "&Imprimir Diploma...": loads the logo (a failure stops here, the balloon
// stays), composes the text, cancels the catalogue's balloon and shows the print preview, waiting
// until it is closed while the catalogue goes on working. One preview at a time.
void ShowDiploma(QWidget* catalogue, const QString& studentPath, const QStringList& totals,
                 TBalloonHint* balloon);
