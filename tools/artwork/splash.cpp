#include "artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

// The splash, 485 x 194: a night-blue card with a row of keycaps, the product's name and the
// course's, leaving the lower left corner dark for the version line drawn over it.
QImage DrawSplash() {
    QImage image(485, 194, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 194);
    sky.setColorAt(0.0, QColor(0x0B, 0x2A, 0x5C));
    sky.setColorAt(1.0, QColor(0x02, 0x08, 0x18));
    p.fillRect(image.rect(), sky);

    // A band of light behind the title.
    QLinearGradient band(0, 0, 485, 0);
    band.setColorAt(0.0, QColor(0x41, 0x73, 0xF5, 0));
    band.setColorAt(0.5, QColor(0x41, 0x73, 0xF5, 90));
    band.setColorAt(1.0, QColor(0x41, 0x73, 0xF5, 0));
    p.fillRect(QRect(0, 20, 485, 70), band);

    // Keycaps spelling the home row of the left hand and the right.
    const char* caps[] = {"A", "S", "D", "F", "", "J", "K", "L", "Ç"};
    int x = 130;
    for (const char* cap : caps) {
        if (!*cap) {
            x += 14;
            continue;
        }
        QRectF key(x, 112, 26, 26);
        QPainterPath path;
        path.addRoundedRect(key, 4, 4);
        p.fillPath(path, QColor(0xC4, 0xFF, 0xEF));
        p.setPen(QPen(QColor(0x01, 0xCB, 0xC1), 2));
        p.drawPath(path);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x0B, 0x2A, 0x5C));
        p.drawText(key, Qt::AlignCenter, QString::fromUtf8(cap));
        x += 30;
    }
    // The two keys the fingers find by touch.
    p.setPen(QPen(QColor(0x0B, 0x2A, 0x5C), 2));
    p.drawLine(QPointF(130 + 3 * 30 + 9, 133), QPointF(130 + 3 * 30 + 17, 133));
    p.drawLine(QPointF(130 + 4 * 30 + 14 + 9, 133), QPointF(130 + 4 * 30 + 14 + 17, 133));

    QFont title(QStringLiteral("Comic Neue"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x00, 0x00, 0x00, 140));
    p.drawText(QRect(3, 17, 485, 70), Qt::AlignCenter, QStringLiteral("Velotecla"));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 14, 485, 70), Qt::AlignCenter, QStringLiteral("Velotecla"));

    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(15);
    sub.setItalic(true);
    p.setFont(sub);
    p.setPen(QColor(0xB5, 0xC1, 0xD9));
    p.drawText(QRect(0, 80, 485, 24), Qt::AlignCenter, QStringLiteral("Curso de Datilografia"));

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(10);
    p.setFont(small);
    p.setPen(QColor(0x80, 0x90, 0xB0));
    p.drawText(QRect(0, 170, 475, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("tavoli"));
    p.end();
    return image;
}
