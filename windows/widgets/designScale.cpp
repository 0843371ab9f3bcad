#include "windows/widgets/designScale.h"

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
    f.setPixelSize(std::max(1, (*this)(pixelHeight)));
    f.setBold(bold);
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
