#include "artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kPanel(0xE0, 0xE0, 0xE0);

void keycap(QPainter& p, const QRectF& r, const QString& letter, double letterSize) {
    QPainterPath outer;
    outer.addRoundedRect(r, r.width() * 0.14, r.width() * 0.14);
    QLinearGradient side(r.topLeft(), r.bottomLeft());
    side.setColorAt(0.0, QColor(0x9A, 0xA8, 0xC8));
    side.setColorAt(1.0, QColor(0x4A, 0x58, 0x80));
    p.fillPath(outer, side);
    p.setPen(QPen(kNavy, r.width() * 0.04));
    p.drawPath(outer);
    // The top of the cap, set in from the sides and more at the bottom, as seen from above the desk.
    const QRectF top = r.adjusted(r.width() * 0.12, r.height() * 0.08, -r.width() * 0.12, -r.height() * 0.22);
    QPainterPath face;
    face.addRoundedRect(top, top.width() * 0.12, top.width() * 0.12);
    QLinearGradient light(top.topLeft(), top.bottomRight());
    light.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    light.setColorAt(1.0, QColor(0xD6, 0xE0, 0xF4));
    p.fillPath(face, light);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(static_cast<int>(letterSize));
    f.setBold(true);
    p.setFont(f);
    p.setPen(kNavy);
    p.drawText(top, Qt::AlignCenter, letter);
}
} // namespace

// The small logo of the About box, drawn at twice its 40 x 46 place: one keycap with a "V".
QImage DrawAboutLogo() {
    QImage image(80, 92, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    keycap(p, QRectF(6, 10, 68, 72), QStringLiteral("V"), 40);
    return image;
}

QImage DrawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double margin = size <= 24 ? 0.5 : size * 0.04;
    keycap(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin), QStringLiteral("V"), size * 0.5);
    return image;
}

// The larger picture of the About box, drawn at twice its 87 x 90 place: a typewriter with a sheet
// in it, a few typed lines on the sheet.
QImage DrawAboutPicture() {
    QImage image(174, 180, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The sheet, standing up behind the roller.
    const QRectF sheet(42, 8, 90, 84);
    p.fillRect(sheet, Qt::white);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    p.drawRect(sheet);
    p.setPen(QPen(kNavy, 3, Qt::SolidLine, Qt::RoundCap));
    const int lengths[] = {70, 58, 74, 40, 64};
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(52, 24 + i * 12), QPointF(52 + lengths[i], 24 + i * 12));

    // The roller across the top of the body.
    QLinearGradient roller(0, 86, 0, 104);
    roller.setColorAt(0.0, QColor(0x50, 0x50, 0x50));
    roller.setColorAt(0.5, QColor(0x18, 0x18, 0x18));
    roller.setColorAt(1.0, QColor(0x40, 0x40, 0x40));
    p.setPen(Qt::NoPen);
    p.setBrush(roller);
    p.drawRoundedRect(QRectF(18, 86, 138, 18), 9, 9);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawEllipse(QRectF(8, 88, 14, 14));
    p.drawEllipse(QRectF(152, 88, 14, 14));

    // The body, wider at the bottom.
    QPainterPath body;
    body.moveTo(24, 104);
    body.lineTo(150, 104);
    body.lineTo(168, 170);
    body.lineTo(6, 170);
    body.closeSubpath();
    QLinearGradient paint(0, 104, 0, 170);
    paint.setColorAt(0.0, QColor(0x2B, 0x4C, 0x9A));
    paint.setColorAt(1.0, QColor(0x10, 0x22, 0x5A));
    p.setBrush(paint);
    p.setPen(QPen(kNavy, 2));
    p.drawPath(body);

    // Three rows of round keys and the space bar.
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    for (int row = 0; row < 3; ++row) {
        const double y = 112 + row * 14;
        const double left = 26 - row * 5;
        const int count = 9 + row;
        const double step = (124 + row * 10) / static_cast<double>(count - 1);
        for (int k = 0; k < count; ++k) {
            p.setBrush(QColor(0xF4, 0xF4, 0xF4));
            p.drawEllipse(QRectF(left + k * step - 5, y, 11, 11));
        }
    }
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    p.drawRoundedRect(QRectF(52, 156, 70, 9), 4, 4);
    return image;
}
