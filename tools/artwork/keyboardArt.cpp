#include "keyboardArt.h"

#include <QFont>
#include <QPainterPath>

namespace {
struct Key {
    double x, row, width; // in key units
    std::string legend;
    int code;
    Finger finger;
    std::string abnt2 = {}; // the ABNT2 legend, where it differs from the American one
};

using F = Finger;
constexpr F LP = F::LeftPinky, LR = F::LeftRing, LM = F::LeftMiddle, LI = F::LeftIndex;
constexpr F RI = F::RightIndex, RM = F::RightMiddle, RR = F::RightRing, RP = F::RightPinky, TH = F::Thumb;

// The keys of the on-screen keyboard, in the places of a full-size keyboard. Enter is drawn apart.
const std::vector<Key>& keys() {
    static const std::vector<Key> all = [] {
        std::vector<Key> k;
        const char* row0 = "`1234567890-=\\";
        const int codes0[] = {192, 49, 50, 51, 52, 53, 54, 55, 56, 57, 48, 189, 187, 220};
        const F fingers0[] = {LP, LP, LR, LM, LI, LI, RI, RI, RM, RR, RP, RP, RP, RP};
        for (int i = 0; i < 14; ++i) {
            k.push_back({static_cast<double>(i), 0, 1, std::string(1, row0[i]), codes0[i], fingers0[i]});
        }
        k.push_back({14, 0, 1, "\xE2\x86\x90", 8, RP});

        const char* row1 = "QWERTYUIOP[]";
        const int codes1[] = {81, 87, 69, 82, 84, 89, 85, 73, 79, 80, 219, 221};
        const F fingers1[] = {LP, LR, LM, LI, LI, RI, RI, RM, RR, RP, RP, RP};
        k.push_back({0, 1, 1.5, "Tab", 9, LP});
        for (int i = 0; i < 12; ++i) {
            k.push_back({1.5 + i, 1, 1, std::string(1, row1[i]), codes1[i], fingers1[i]});
        }
        const char* row2 = "ASDFGHJKL;'";
        const int codes2[] = {65, 83, 68, 70, 71, 72, 74, 75, 76, 186, 222};
        const F fingers2[] = {LP, LR, LM, LI, LI, RI, RI, RM, RR, RP, RP};
        k.push_back({0, 2, 1.75, "Caps", 20, LP});
        for (int i = 0; i < 11; ++i) {
            k.push_back({1.75 + i, 2, 1, std::string(1, row2[i]), codes2[i], fingers2[i]});
        }
        const char* row3 = "ZXCVBNM,./";
        const int codes3[] = {90, 88, 67, 86, 66, 78, 77, 188, 190, 191};
        const F fingers3[] = {LP, LR, LM, LI, LI, RI, RI, RM, RR, RP};
        k.push_back({0, 3, 2.25, "Shift", 16, LP});
        for (int i = 0; i < 10; ++i) {
            k.push_back({2.25 + i, 3, 1, std::string(1, row3[i]), codes3[i], fingers3[i]});
        }
        k.push_back({12.25, 3, 2.75, "Shift", 16, RP});
        k.push_back({3.75, 4, 6.25, "", 32, TH});
        // ABNT2 prints other legends on seven keys; the code is the same physical key in both layouts.
        const std::pair<int, const char*> abnt2[] = {
            {192, "'"}, {220, "]"}, {219, "\xC2\xB4"}, {221, "["}, {186, "\xC3\x87"}, {222, "~"}, {191, ";"}};
        for (Key& key : k)
            for (const auto& [code, legend] : abnt2)
                if (key.code == code)
                    key.abnt2 = legend;
        return k;
    }();
    return all;
}

constexpr int kEnter = 13;

QColor pale() {
    return QColor(0xE4, 0xE8, 0xEE);
}
} // namespace

QColor FingerColour(Finger finger) {
    switch (finger) {
    case F::LeftPinky:
    case F::RightPinky:
        return QColor(0xE5, 0x73, 0x73);
    case F::LeftRing:
    case F::RightRing:
        return QColor(0xFF, 0xB7, 0x4D);
    case F::LeftMiddle:
    case F::RightMiddle:
        return QColor(0xFF, 0xE0, 0x66);
    case F::LeftIndex:
        return QColor(0x81, 0xC7, 0x84);
    case F::RightIndex:
        return QColor(0x64, 0xB5, 0xF6);
    case F::Thumb:
        return QColor(0xB3, 0x9D, 0xDB);
    }
    return pale();
}

KeyLegends LegendsOf(int code) {
    for (const Key& k : keys())
        if (k.code == code)
            return {QString::fromStdString(k.legend),
                    QString::fromStdString(k.abnt2.empty() ? k.legend : k.abnt2), k.finger};
    return {QString(), QString(), code == kEnter ? F::RightPinky : F::Thumb};
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

    for (const Key& k : keys()) {
        const QRectF r(box.left() + k.x * u + gap / 2, box.top() + k.row * rowHeight + gap / 2,
                       k.width * u - gap, rowHeight - gap);
        QPainterPath path;
        path.addRoundedRect(r, u * 0.15, u * 0.15);
        const bool on = allLit || lit.count(k.code);
        paintKey(path, r, QString::fromStdString(k.legend), on, fresh.count(k.code), k.finger, k.width > 1,
                 QString::fromStdString(k.abnt2));
        if (k.code == 70 || k.code == 74) { // the bumps that find the home row by touch
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
    paintKey(enter, QRectF(left2, mid, right - left2, bottom - mid), QStringLiteral("Enter"),
             allLit || lit.count(kEnter), fresh.count(kEnter), F::RightPinky, true);
    p.restore();
}
