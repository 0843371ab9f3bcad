#include "artwork.h"
#include "keyboardArt.h"

#include "lessons/lessonFile.h"
#include "platform/vtError.h"
#include "storage/convert.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>

namespace {
const QColor kNavy(0x00, 0x54, 0xA8);

QFont face(const char* family, int pixels, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// One hand seen from above, little finger to index, with the thumb below: used fingers in their colours.
void drawHand(QPainter& p, double x, double y, bool left, const std::set<Finger>& used) {
    const Finger order[] = {
        left ? Finger::LeftPinky : Finger::RightIndex, left ? Finger::LeftRing : Finger::RightMiddle,
        left ? Finger::LeftMiddle : Finger::RightRing, left ? Finger::LeftIndex : Finger::RightPinky};
    const double heights[] = {left ? 24.0 : 31.0, left ? 31.0 : 35.0, left ? 35.0 : 31.0, left ? 31.0 : 24.0};
    const auto paint = [&](const QPainterPath& path, Finger f) {
        const bool on = used.count(f);
        p.fillPath(path, on ? FingerColour(f) : QColor(0xEC, 0xEE, 0xF2));
        p.setPen(QPen(on ? QColor(0x44, 0x44, 0x44) : QColor(0xB8, 0xBE, 0xC8), 1));
        p.drawPath(path);
    };
    QPainterPath palm;
    palm.addRoundedRect(QRectF(x, y + 36, 52, 30), 10, 10);
    p.fillPath(palm, QColor(0xF7, 0xE1, 0xCF));
    p.setPen(QPen(QColor(0xB8, 0xA0, 0x8C), 1));
    p.drawPath(palm);
    for (int i = 0; i < 4; ++i) {
        QPainterPath finger;
        finger.addRoundedRect(QRectF(x + 2 + i * 12.5, y + 40 - heights[i], 10, heights[i] + 4), 5, 5);
        paint(finger, order[i]);
    }
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-5, -14, 10, 28), 5, 5);
    p.save();
    p.translate(left ? x + 58 : x - 6, y + 50);
    p.rotate(left ? -55 : 55);
    paint(thumb, Finger::Thumb);
    p.restore();
}

// The keys' names in the order the eye reads the keyboard: row by row, left to right.
QString keyNames(const std::set<int>& codes) {
    static const int order[] = {192, 49, 50, 51, 52, 53, 54, 55, 56, 57,  48,  189, 187,
                                220, 8,  81, 87, 69, 82, 84, 89, 85, 73,  79,  80,  219,
                                221, 20, 65, 83, 68, 70, 71, 72, 74, 75,  76,  186, 222,
                                13,  16, 90, 88, 67, 86, 66, 78, 77, 188, 190, 191, 32};
    QStringList names;
    for (int code : order) {
        if (!codes.count(code))
            continue;
        switch (code) {
        case 13:
            names << QStringLiteral("Enter");
            break;
        case 16:
            names << QStringLiteral("Shift");
            break;
        case 32:
            names << QStringLiteral("espaço");
            break;
        case 186:
            names << QStringLiteral(";");
            break;
        case 188:
            names << QStringLiteral(",");
            break;
        case 190:
            names << QStringLiteral(".");
            break;
        default:
            names << QString(QChar(code));
        }
    }
    return names.join(QLatin1Char(' '));
}
} // namespace

QImage DrawLessonPicture(int number, const QString& title, const std::set<int>& codes,
                         const std::set<int>& fresh) {
    QImage image(232, 216, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF6, 0xFA));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.fillRect(QRect(0, 0, 232, 24), kNavy);
    p.setFont(face("DejaVu Sans", 11, true));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 232, 24), Qt::AlignCenter, QStringLiteral("Aula %1 - %2").arg(number).arg(title));

    DrawKeyboard(p, QRectF(5, 32, 222, 80), codes, fresh);

    const std::set<Finger> used = FingersOf(codes);
    drawHand(p, 34, 120, true, used);
    drawHand(p, 146, 120, false, used);

    p.setFont(face("DejaVu Sans", 10));
    p.setPen(QColor(0x33, 0x3D, 0x4F));
    const QString news = fresh.empty() ? QStringLiteral("Revisão: nenhuma tecla nova")
                                       : QStringLiteral("Novas: ") + keyNames(fresh);
    p.drawText(QRect(4, 194, 224, 20), Qt::AlignCenter,
               p.fontMetrics().elidedText(news, Qt::ElideRight, 224));
    p.end();
    return image;
}

QImage DrawCataloguePicture() {
    QImage image(165, 137, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 137);
    sky.setColorAt(0.0, QColor(0x0B, 0x2A, 0x5C));
    sky.setColorAt(1.0, QColor(0x1B, 0x4F, 0x9C));
    p.fillRect(image.rect(), sky);
    p.setFont(face("Comic Neue", 24, true));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 2, 165, 30), Qt::AlignCenter, QStringLiteral("Velotecla"));
    p.setFont(face("DejaVu Sans", 10));
    p.setPen(QColor(0xB5, 0xC1, 0xD9));
    p.drawText(QRect(0, 30, 165, 14), Qt::AlignCenter, QStringLiteral("Curso de Datilografia"));
    DrawKeyboard(p, QRectF(6, 52, 153, 58), {}, {}, true);
    p.setFont(face("DejaVu Sans", 10));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 116, 165, 18), Qt::AlignCenter, QStringLiteral("Cada cor, um dedo"));
    p.end();
    return image;
}

QImage DrawDiplomaLogo() {
    QImage image(490, 214, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A keycap with the initial.
    QPainterPath cap;
    cap.addRoundedRect(QRectF(22, 30, 140, 140), 22, 22);
    p.fillPath(cap, QColor(0xC4, 0xFF, 0xEF));
    p.setPen(QPen(kNavy, 6));
    p.drawPath(cap);
    p.setFont(face("Comic Neue", 110, true));
    p.setPen(kNavy);
    p.drawText(QRectF(22, 26, 140, 140), Qt::AlignCenter, QStringLiteral("V"));
    p.setPen(QPen(kNavy, 5));
    p.drawLine(QPointF(72, 150), QPointF(112, 150));

    p.setFont(face("Comic Neue", 70, true));
    p.setPen(QColor(0x00, 0x00, 0x80));
    p.drawText(QRect(180, 28, 300, 92), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velotecla"));
    p.setFont(face("DejaVu Sans", 24));
    p.setPen(QColor(0x44, 0x4C, 0x5C));
    p.drawText(QRect(184, 118, 300, 36), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Curso de Datilografia"));
    // The colours of the fingers, little finger to little finger.
    const Finger band[] = {Finger::LeftPinky,   Finger::LeftRing,  Finger::LeftMiddle,
                           Finger::LeftIndex,   Finger::Thumb,     Finger::RightIndex,
                           Finger::RightMiddle, Finger::RightRing, Finger::RightPinky};
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(184 + i * 33, 164, 31, 10), FingerColour(band[i]));
    p.end();
    return image;
}

void DrawCoursePictures(const QDir& out) {
    QDir().mkpath(out.filePath(QStringLiteral("images")));
    std::set<int> earlier;
    for (int n = 1; n <= 24; ++n) {
        const QString path = out.filePath(QStringLiteral("aulas/aula%1.aul").arg(n));
        const TLessonData lesson = ReadLessonFile(path.toStdString());
        const std::set<int> codes(lesson.Codes.begin(), lesson.Codes.end());
        std::set<int> fresh;
        for (int code : codes)
            if (!earlier.count(code))
                fresh.insert(code);
        earlier.insert(codes.begin(), codes.end());
        const QString title = QString::fromStdString(Cp1252ToUtf8(lesson.Title));
        SaveJpeg(DrawLessonPicture(n, title, codes, fresh),
                 out.filePath(QStringLiteral("images/aula%1.jpg").arg(n)));
    }
    SaveJpeg(DrawCataloguePicture(), out.filePath(QStringLiteral("images/default.jpg")));
    const QString logo = out.filePath(QStringLiteral("logo_diploma.bmp"));
    if (!DrawDiplomaLogo().save(logo, "BMP"))
        throw VtError("cannot write " + logo.toStdString());
}
