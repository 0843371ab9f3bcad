// The real sound module, loaded on the first sound and not before.
#include "windows/glue/soundModule.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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
    QByteArray pcm(qsizetype{samples} * 2, '\0');
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * i / rate)),
                                pcm.data() + 2 * qsizetype{i});
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
    void aBrokenSoundNeverFreezesTheProgram();
    void brokenSoundsThenGoodOnes(); // the child's part of the test above
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

namespace {
const char* const kChildFolder = "VT_BROKEN_SOUNDS";
}

// Empty, cut short and lying WAV files, each followed by a good sound, through the real module. The
// toolkit's player waited for good on the next sound after such a file: the sounds play in a child
// process, and a child that does not end in time is a freeze.
void TestSound::aBrokenSoundNeverFreezesTheProgram() {
#ifdef VT_SOUND_MODULE_DIR
    QTemporaryDir dir;
    const QByteArray good = toneWav(0.2);
    QByteArray lying = good;
    qToLittleEndian<quint32>(10 * 1024 * 1024, lying.data() + 40); // data larger than the file
    const QList<QPair<QString, QByteArray>> files = {
        {"good.wav", good},          {"empty.wav", QByteArray()}, {"header.wav", good.left(30)},
        {"cut.wav", good.left(200)}, {"lying.wav", lying},
    };
    for (const auto& [name, bytes] : files) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildFolder), dir.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("brokenSoundsThenGoodOnes")});
    QVERIFY(child.waitForStarted());
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished();
        QFAIL("a broken sound file froze the sound module");
    }
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
#else
    QSKIP("no sound module on this platform");
#endif
}

void TestSound::brokenSoundsThenGoodOnes() {
#ifdef VT_SOUND_MODULE_DIR
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty())
        QSKIP("run by aBrokenSoundNeverFreezesTheProgram");
    TModuleSoundBackEnd module(QStringLiteral(VT_SOUND_MODULE_DIR));
    const QDir dir(folder);
    for (const char* broken : {"empty.wav", "header.wav", "cut.wav", "lying.wav"}) {
        module.Play(dir.filePath(QString::fromLatin1(broken)).toStdString());
        QTest::qWait(200);
        module.Play(dir.filePath(QStringLiteral("good.wav")).toStdString());
        QTest::qWait(50);
    }
    module.Stop();
#endif
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
