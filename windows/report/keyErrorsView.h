#pragma once
#include "core/exercise/keySlips.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
struct TKeyboardKey;

// A keyboard drawn from the keyboard table on a layout, each key coloured by its error rate with the
// rate written on it; every key is a control of its own, so a screen reader reads its figures (its
// accessible name) and a tool tip shows them. A key never asked stays pale, with its name only.
class TKeyErrorsKeyboard : public QWidget {
    Q_OBJECT
public:
    explicit TKeyErrorsKeyboard(QWidget* parent);
    void SetFigures(const TKeyTallies& keys, int layout);
    // The control of a key (nullptr for a key the keyboard does not draw).
    QLabel* KeyLabel(int code) const;
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Key {
        const TKeyboardKey* Table;
        QLabel* Label;
        float Column, Row, Units;
    };
    std::vector<Key> m_keys;
};

// The colour of an error rate and the legend's bands: the band's upper bound (a fraction), its colour.
QColor ErrorRateColour(double rate);

// The keys of a student or of a class: the keyboard with its legend beside four lists (the keys missed
// most, the most frequent confusions, the error rate per finger in the finger's colour, the slowest
// keys). A student's page chooses between the whole history and the last 10 exercises.
class TKeyErrorsPanel : public QWidget {
    Q_OBJECT
public:
    TKeyErrorsPanel(QWidget* parent, const QString& title);

    QLabel* lblTitulo;
    QComboBox* cmbPeriodo; // hidden unless SetStudent gave two periods
    TKeyErrorsKeyboard* keyboard;
    QLabel* lblErradas;
    QLabel* lblConfusoes;
    QLabel* lblDedos;        // the heading of the fingers' lines
    QLabel* lblDedo[9] = {}; // a finger's line, beside a square of its colour (left pinky to thumbs)
    QLabel* lblLentas;
    QLabel* lblAviso; // why there are no figures

    // A student's page: the whole history and the last exercises, on the student's layout.
    void SetStudent(const TKeySum& whole, const TKeySum& last, int layout);
    // The class (or the students shown): one sum, no choice of period.
    void SetClass(const TKeySum& sum, int layout, int students);
    // The figures shown as plain lines, for the printed page.
    QStringList Lines() const;

private:
    void showSum(const TKeySum& sum);
    TKeySum m_whole, m_last;
    int m_layout = 0;
};
