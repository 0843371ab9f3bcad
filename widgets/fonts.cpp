#include "widgets/fonts.h"

#include <QFont>
#include <QStringList>

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
