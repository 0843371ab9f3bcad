#pragma once
#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

// Windows are laid out in pixels at the density they were designed at (most at 106 pixels per inch,
// the countdown and result windows at 96) and scaled to the screen's density when they are made.
class DesignScale {
public:
    explicit DesignScale(int designDpi);
    DesignScale(int designDpi, double screenDpi); // fixed screen density (tests)

    int operator()(int designed) const;
    QRect rect(int left, int top, int width, int height) const;
    // Puts a control at its designed place and size.
    void place(QWidget* widget, int left, int top, int width, int height) const;
    // Fixed client size of a top-level window.
    void fixSize(QWidget* window, int width, int height) const;
    // A font of the designed character height in pixels.
    QFont font(const QString& family, int pixelHeight, bool bold = false) const;
    double factor() const { return m_factor; }

    // The density of the primary screen, in logical pixels per inch.
    static double screenDpi();

private:
    double m_factor;
};
