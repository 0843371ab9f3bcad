#pragma once
#include <QColor>
#include <QWidget>

// A rounded rectangle drawn under a window's controls: an outline of a given width and style, with
// or without a fill. It never takes the mouse or the focus.
class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr);
    void SetOutline(const QColor& colour, int width, Qt::PenStyle style = Qt::SolidLine);
    void SetFill(const QColor& colour); // an invalid colour: no fill

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_outline = Qt::black;
    int m_width = 1;
    Qt::PenStyle m_style = Qt::SolidLine;
    QColor m_fill;
};
