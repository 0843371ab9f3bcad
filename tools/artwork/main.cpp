// vt-artwork OUTDIR: draws the program's pictures into OUTDIR; vt-artwork --icons OUTDIR: its icons.
#include "artwork.h"
#include "keyboardArt.h"

#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/profileKeys.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>

// The icon theme's sizes, each in OUTDIR/<n>x<n>/apps/velotecla.png.
int drawIcons(const QDir& out) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(size));
        QDir().mkpath(folder);
        if (!DrawAppIcon(size).save(QDir(folder).filePath(QStringLiteral("velotecla.png")), "PNG")) {
            std::fprintf(stderr, "vt-artwork: cannot write the %d-pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0)
        return drawIcons(QDir(QString::fromLocal8Bit(argv[2])));
    if (argc != 2) {
        std::fprintf(stderr, "usage: vt-artwork OUTDIR | vt-artwork --icons OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    try {
        QDir().mkpath(out.path());
        SaveJpeg(DrawSplash(), out.filePath(QString::fromLatin1(files::Splash)));
        // The About box's two pictures: bitmaps, kept without loss.
        const QDir images(out.filePath(QString::fromLatin1(files::ImagesFolder)));
        QDir().mkpath(images.path());
        SaveBitmap(DrawAboutLogo(), images.filePath(QString::fromLatin1(files::AboutLogo)));
        SaveBitmap(DrawAboutPicture(), images.filePath(QString::fromLatin1(files::AboutPicture)));
        DrawCoursePictures(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vt-artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}
