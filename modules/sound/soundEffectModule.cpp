// The sound module: the toolkit's sound effect behind two plain C entry points, loaded by the
// program on its first sound (windows/glue/soundModule.cpp).
#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace {
// One effect for the whole program: stopping it before the next one starts keeps one sound at a time.
QSoundEffect* effect() {
    static QPointer<QSoundEffect> instance;
    if (!instance)
        instance = new QSoundEffect(QCoreApplication::instance());
    return instance;
}
} // namespace

extern "C" Q_DECL_EXPORT void VtSoundPlay(const char* utf8Path) {
    QSoundEffect* sound = effect();
    sound->stop();
    const QString file = QString::fromUtf8(utf8Path);
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        return;
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (sound->source() != url)
        sound->setSource(url);
    sound->play();
}

extern "C" Q_DECL_EXPORT void VtSoundStop() {
    effect()->stop();
}
