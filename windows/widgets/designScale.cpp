#include "windows/widgets/designScale.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

DesignScale::DesignScale(int designDpi) : DesignScale(designDpi, screenDpi()) {}

DesignScale::DesignScale(int designDpi, double dpi) : m_factor(dpi / designDpi) {}

double DesignScale::screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int DesignScale::operator()(int designed) const {
    return static_cast<int>(std::lround(designed * m_factor));
}

QRect DesignScale::rect(int left, int top, int width, int height) const {
    return {(*this)(left), (*this)(top), (*this)(width), (*this)(height)};
}

void DesignScale::place(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(rect(left, top, width, height));
}

void DesignScale::fixSize(QWidget* window, int width, int height) const {
    window->setFixedSize((*this)(width), (*this)(height));
}

void DesignScale::designWindow(QWidget* window, int width, int height, const QString& family,
                               int pixelHeight) const {
    fixSize(window, width, height);
    window->setFont(font(family, pixelHeight));
}

QFont DesignScale::font(const QString& family, int pixelHeight, bool bold) const {
    QFont f(family);
    const int px = std::max(1, (*this)(pixelHeight));
    f.setPixelSize(px);
    f.setBold(bold);
    // A bitmap face draws only its own sizes (the toolkit sees one size of Terminus, 12 pixels) and is
    // never scaled with the screen: asked for another size, or on a scaled screen, it would draw small
    // text in a box laid out for the size asked. Its outline look-alike draws at the size.
    const QFontInfo drawn(f);
    const bool bitmap = !QFontDatabase::isScalable(drawn.family(), drawn.styleName());
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    if (drawn.pixelSize() != px || (bitmap && ratio != 1.0))
        f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::ForceOutline));
    return f;
}

void CentreOnScreen(QWidget* window, ScreenPart part) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = part == ScreenPart::Free ? screen->availableGeometry() : screen->geometry();
        window->move(area.center() - window->rect().center());
    }
}

void NoChildTakesFocus(QWidget* window) {
    for (QWidget* child : window->findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
}
