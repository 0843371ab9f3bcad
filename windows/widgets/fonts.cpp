#include "windows/widgets/fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Terminal"),
                               {QStringLiteral("Terminus"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Signature"),
                               {QStringLiteral("Z003"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Typewriter"),
                               {QStringLiteral("Nimbus Mono PS"), QStringLiteral("Liberation Mono")});
}

QFont FittedFont(const QFont& font, const QStringList& texts, int width, int smallest) {
    QFont f = font;
    for (const bool outline : {false, true}) {
        f = font;
        if (outline)
            f.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::ForceOutline));
        for (int px = font.pixelSize(); px >= smallest; --px) {
            f.setPixelSize(px);
            const QFontMetrics m(f);
            const bool fits = QFontInfo(f).pixelSize() <= px &&
                              std::all_of(texts.begin(), texts.end(),
                                          [&](const QString& t) { return m.horizontalAdvance(t) <= width; });
            if (fits)
                return f;
        }
    }
    return f;
}

QFont FittedLinesFont(const QFont& font, const QStringList& lines, const QSize& room, int smallest) {
    const auto fits = [&](const QFont& f) {
        const QFontMetrics m(f);
        return static_cast<int>(lines.size()) * m.lineSpacing() <= room.height() &&
               std::all_of(lines.begin(), lines.end(),
                           [&](const QString& t) { return m.horizontalAdvance(t) <= room.width(); });
    };
    if (fits(font))
        return font;
    QFont f = FittedFont(font, lines, room.width(), smallest);
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::ForceOutline));
    while (f.pixelSize() > smallest && !fits(f))
        f.setPixelSize(f.pixelSize() - 1);
    return f;
}
