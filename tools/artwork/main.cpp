// vt-artwork OUTDIR: draws the program's pictures into OUTDIR.
#include "artwork.h"
#include "keyboardArt.h"

#include "platform/programFolder.h"
#include "platform/vtError.h"
#include "storage/profileKeys.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vt-artwork OUTDIR\n");
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
