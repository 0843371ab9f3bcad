#pragma once
#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

// Windows are laid out in pixels at the density they were designed at (most at 106 pixels per inch,
// the countdown and result windows at 96) and scaled to the screen's density when they are made.
class DesignScale {
public:
    static constexpr int WindowsDpi = 106; // most windows
    static constexpr int PopUpDpi = 96;    // the countdown and the result

    explicit DesignScale(int designDpi = WindowsDpi);
    DesignScale(int designDpi, double screenDpi); // fixed screen density (tests)

    int operator()(int designed) const;
    QRect rect(int left, int top, int width, int height) const;
    // Puts a control at its designed place and size.
    void place(QWidget* widget, int left, int top, int width, int height) const;
    // Fixed client size of a top-level window.
    void fixSize(QWidget* window, int width, int height) const;
    // A top-level window as designed: its fixed client size, and the face and size it was laid out
    // with, which every control inherits.
    void designWindow(QWidget* window, int width, int height, const QString& family, int pixelHeight) const;
    // A font of the designed character height in pixels.
    QFont font(const QString& family, int pixelHeight, bool bold = false) const;
    double factor() const { return m_factor; }

    // The density of the primary screen, in logical pixels per inch.
    static double screenDpi();

private:
    double m_factor;
};

// Where a window first stands: centred on the part of the primary screen that panels leave free, or on
// the whole screen for the windows that stand above everything while a lesson runs.
enum class ScreenPart { Free, Whole };
void CentreOnScreen(QWidget* window, ScreenPart part = ScreenPart::Free);

// Every key comes to the window itself: none of its controls ever takes the focus.
void NoChildTakesFocus(QWidget* window);
