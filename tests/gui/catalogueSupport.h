#pragma once
// Shared by the catalogue and loader tests: a student, the catalogue's picture, and opening the
// catalogue as the roster does.
#include "core/platform/jpeg.h"
#include "support/testProgram.h"
#include "windows/course/uAulas.h"
#include "windows/widgets/qtText.h"

#include <QCoreApplication>
#include <QRadioButton>

inline void writeJpeg(const TestProgram& program, const QString& relative, std::uint32_t colour) {
    RawPicture picture;
    picture.width = 16;
    picture.height = 12;
    picture.pixels.resize(std::size_t{16} * 12 * 4);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        picture.pixels[i] = colour & 0xFF;
        picture.pixels[i + 1] = (colour >> 8) & 0xFF;
        picture.pixels[i + 2] = (colour >> 16) & 0xFF;
        picture.pixels[i + 3] = 0xFF;
    }
    program.writeFile(relative, "");
    EncodeJpegFile(picture, ToPath(program.path(relative)));
}

// Profile text from "Section/Key=value" lines.
inline QByteArray profileText(const QStringList& entries) {
    QByteArray out;
    QString section;
    for (const QString& e : entries) {
        const QString s = e.section(QLatin1Char('/'), 0, 0);
        if (s != section) {
            section = s;
            out += "[" + ToCp(s) + "]\r\n";
        }
        out += QByteArray::fromStdString(ToCp(e.section(QLatin1Char('/'), 1))) + "\r\n";
    }
    return out;
}

inline QStringList lessonsEnabled(int from, int to) {
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << QStringLiteral("Aula%1/Habilitado=1").arg(n);
    return out;
}

// Opens the catalogue for users/<name> as the roster does, runs whileOpen while it is up, then closes it.
inline void openCatalogue(const TestProgram& program, const QString& name,
                          const std::function<void()>& whileOpen) {
    frmAulas->setWindowTitle(QStringLiteral("Aulas do Aluno (") + name + QStringLiteral(")"));
    frmAulas->StudentProfilePath = program.path(QStringLiteral("users/") + name);
    Guard([] { frmAulas->lstAulaClick(); });
    WhenModal([&](QWidget* modal) {
        if (modal == frmAulas) {
            for (int i = 0; i < 5; ++i)
                QCoreApplication::processEvents();
            whileOpen();
        }
        if (frmAulas->isVisible())
            frmAulas->close();
    });
    frmAulas->exec();
}

inline void pick(int index) {
    frmAulas->lstAulaItems[index]->click();
}
