#include "keyboardArt.h"

#include <QFont>
#include <QPainterPath>

namespace {
using F = Finger;

QColor pale() {
    return QColor(0xE4, 0xE8, 0xEE);
}
} // namespace

QColor FingerColour(Finger finger) {
    return QColor::fromRgb(FingerRgb(finger));
}

KeyLegends LegendsOf(int code) {
    if (const TKeyboardKey* key = KeyOfCode(code))
        return {QString::fromUtf8(key->legend), QString::fromStdString(key->AbntLegend()), key->finger};
    return {QString(), QString(), F::Thumb};
}

void DrawKeyboard(QPainter& p, const QRectF& box, const std::set<int>& lit, const std::set<int>& fresh,
                  bool allLit) {
    const double u = box.width() / 15.0;
    const double rowHeight = box.height() / 5.0;
    const double gap = std::max(1.0, u * 0.12);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    frame.addRoundedRect(box.adjusted(-2, -2, 2, 2), 4, 4);
    p.fillPath(frame, QColor(0x2B, 0x3A, 0x55));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(6, static_cast<int>(rowHeight * 0.5)));
    font.setBold(true);
    QFont small = font;
    small.setPixelSize(std::max(5, static_cast<int>(rowHeight * 0.33)));
    small.setBold(false);

    QFont pair = font;
    pair.setPixelSize(std::max(5, static_cast<int>(rowHeight * 0.42)));
    const auto paintKey = [&](const QPainterPath& path, const QRectF& r, const QString& legend, bool on,
                              bool isNew, Finger finger, bool wide, const QString& abnt2 = {}) {
        p.fillPath(path, on ? FingerColour(finger) : pale());
        if (isNew) {
            p.setPen(QPen(QColor(0x10, 0x10, 0x10), std::max(1.2, u * 0.12)));
            p.drawPath(path);
        }
        p.setPen(on ? QColor(0x1A, 0x1A, 0x1A) : QColor(0x9A, 0xA3, 0xB5));
        if (!abnt2.isEmpty()) { // as on a keycap: the American legend above, the ABNT2 one below
            p.setFont(pair);
            const QRectF inner = r.adjusted(r.width() * 0.1, 0, -r.width() * 0.1, 0);
            p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, legend);
            p.drawText(inner, Qt::AlignRight | Qt::AlignBottom, abnt2);
            return;
        }
        p.setFont(wide ? small : font);
        p.drawText(r, Qt::AlignCenter, legend);
    };

    QString enterLegend;
    for (const TKeyboardKey& k : KeyboardKeys()) {
        if (k.code == Vk::Return && *k.legend)
            enterLegend = QString::fromUtf8(k.legend).trimmed();
        if (k.units == 0)
            continue;
        const QRectF r(box.left() + k.column * u + gap / 2, box.top() + k.row * rowHeight + gap / 2,
                       k.units * u - gap, rowHeight - gap);
        QPainterPath path;
        path.addRoundedRect(r, u * 0.15, u * 0.15);
        const bool on = allLit || lit.count(k.code);
        const QString abnt2 = k.abnt2 ? QString::fromUtf8(k.abnt2) : QString();
        paintKey(path, r, QString::fromUtf8(k.legend), on, fresh.count(k.code), k.finger,
                 k.look != KeyLook::Ordinary, abnt2);
        if (k.code == 'F' || k.code == 'J') { // the bumps that find the home row by touch
            p.setPen(QPen(on ? QColor(0x1A, 0x1A, 0x1A) : QColor(0x9A, 0xA3, 0xB5), std::max(1.0, u * 0.08)));
            p.drawLine(QPointF(r.center().x() - u * 0.18, r.bottom() - rowHeight * 0.14),
                       QPointF(r.center().x() + u * 0.18, r.bottom() - rowHeight * 0.14));
        }
    }
    // Enter: the tall key at the end of the second and third rows.
    const double left1 = box.left() + 13.5 * u + gap / 2, left2 = box.left() + 12.75 * u + gap / 2;
    const double right = box.left() + 15 * u - gap / 2;
    const double top = box.top() + rowHeight + gap / 2, mid = box.top() + 2 * rowHeight + gap / 2;
    const double bottom = box.top() + 3 * rowHeight - gap / 2;
    QPainterPath enter;
    enter.moveTo(left1, top);
    enter.lineTo(right, top);
    enter.lineTo(right, bottom);
    enter.lineTo(left2, bottom);
    enter.lineTo(left2, mid);
    enter.lineTo(left1, mid);
    enter.closeSubpath();
    paintKey(enter, QRectF(left2, mid, right - left2, bottom - mid), enterLegend,
             allLit || lit.count(Vk::Return), fresh.count(Vk::Return), LegendsOf(Vk::Return).finger, true);
    p.restore();
}
