// The real sound module, loaded on the first sound and not before.
#include "platform/soundModule.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>

namespace {
bool multimediaLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

// A short tone as 16-bit mono PCM WAV.
QByteArray toneWav(double seconds) {
    const int rate = 22050;
    const int samples = static_cast<int>(rate * seconds);
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * i / rate)),
                                pcm.data() + 2 * i);
    QByteArray wav;
    auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
    wav.append("RIFF");
    u32(36 + pcm.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(pcm.size());
    return wav + pcm;
}
} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void theModuleLoadsOnTheFirstSoundOnly();
};

void TestSound::theModuleLoadsOnTheFirstSoundOnly() {
#ifdef VT_SOUND_MODULE_DIR
    QVERIFY(!multimediaLoaded());
    TModuleSoundBackEnd module(QStringLiteral(VT_SOUND_MODULE_DIR));
    module.Stop(); // nothing can play yet: no reason to load anything
    QVERIFY(!module.Loaded());
    QVERIFY(!multimediaLoaded());

    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("nono1.wav"));
    const QString second = dir.filePath(QStringLiteral("nono0.wav"));
    for (const QString& path : {first, second}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(toneWav(0.3));
    }
    module.Play(first.toStdString());
    QVERIFY(module.Loaded());
    QVERIFY(multimediaLoaded());
    module.Play(second.toStdString()); // cuts the first
    QTest::qWait(100);
    module.Play(dir.filePath(QStringLiteral("missing.wav")).toStdString()); // silence, no complaint
    module.Stop();
    module.Stop();

    // A folder without the module gives silence, tried once.
    TModuleSoundBackEnd absent(dir.path());
    absent.Play(first.toStdString());
    QVERIFY(!absent.Loaded());
#else
    QSKIP("no sound module on this platform");
#endif
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
