// The real sound module, loaded on the first sound and not before.
#include "windows/glue/soundModule.h"

#include "support/testProgram.h"
#include "windows/course/uCont.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {
bool multimediaLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

// A short tone as a PCM WAV: 16-bit mono at 22,050 Hz unless told otherwise (format 3: float).
QByteArray toneWav(double seconds, quint32 rate = 22050, quint16 channels = 1, quint16 bits = 16,
                   quint16 format = 1) {
    const auto frames = static_cast<qsizetype>(std::max(1.0, rate * seconds));
    const qsizetype frameBytes = qsizetype{channels} * (bits / 8);
    QByteArray pcm(frames * frameBytes, '\0');
    for (qsizetype i = 0; i < frames && bits == 16; ++i)
        for (qsizetype c = 0; c < channels; ++c)
            qToLittleEndian<qint16>(static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * double(i) / rate)),
                                    pcm.data() + i * frameBytes + 2 * c);
    QByteArray wav;
    auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
    wav.append("RIFF");
    u32(static_cast<quint32>(36 + pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(format);
    u16(channels);
    u32(rate);
    u32(rate * static_cast<quint32>(frameBytes));
    u16(static_cast<quint16>(frameBytes));
    u16(bits);
    wav.append("data");
    u32(static_cast<quint32>(pcm.size()));
    return wav + pcm;
}
} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void theModuleLoadsOnTheFirstSoundOnly();
    void aBrokenSoundNeverFreezesTheProgram();
    void brokenSoundsThenGoodOnes(); // the child's part of the test above
    void everyFormatThroughARealOutput();
    void theFormatTable(); // the child's part of the test above
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

namespace {
const char* const kTableFolder = "VT_SOUND_TABLE";

// Formats the toolkit's output refuses or dies on (a rate of 1 or 8 Hz: SIGFPE as the sound starts),
// and the edges of what it takes; each is played as the countdown's go.wav would be. `serverFormat` is how
// the sound server names the output it opens for the sound.
struct TFormatRow {
    QString name;
    QByteArray bytes;
    QString serverFormat;
    bool plays;
};
const QList<TFormatRow>& formatTable() {
    static const QList<TFormatRow> table = {
        {"1hz.wav", toneWav(3, 1), " 1ch 1Hz", false},
        {"8hz.wav", toneWav(1, 8), " 1ch 8Hz", false},
        {"3999hz.wav", toneWav(0.05, 3999), " 1ch 3999Hz", false},
        {"192001hz.wav", toneWav(0.05, 192001), " 1ch 192001Hz", false},
        {"3channels.wav", toneWav(0.05, 22050, 3), " 3ch 22050Hz", false},
        {"24bits.wav", toneWav(0.05, 22050, 1, 24), "s24le 1ch", false},
        {"4000hz.wav", toneWav(0.05, 4000), "s16le 1ch 4000Hz", true},
        {"192000hz.wav", toneWav(0.05, 192000), "s16le 1ch 192000Hz", true},
        {"stereo.wav", toneWav(0.05, 44100, 2), "s16le 2ch 44100Hz", true},
        {"8bits.wav", toneWav(0.05, 11025, 1, 8), "u8 1ch 11025Hz", true},
        {"float.wav", toneWav(0.05, 48000, 1, 32, 3), "float32le 1ch 48000Hz", true},
    };
    return table;
}

// A sound server of the test's own with one null output, or an empty folder where none can run.
struct TNullSoundServer {
    QTemporaryDir runtime;
    QProcess server;
    bool start() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (program.isEmpty() || !runtime.isValid())
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("HOME"), runtime.path());
        server.setProcessEnvironment(env);
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(program,
                     {"-n", "-v", "--log-target=stderr", "--daemonize=no", "--exit-idle-time=-1",
                      "--disallow-exit", "--load=module-null-sink", "--load=module-native-protocol-unix"});
        if (!server.waitForStarted())
            return false;
        for (int i = 0; i < 100 && !QFile::exists(socket()); ++i)
            QTest::qWait(50);
        return QFile::exists(socket());
    }
    QString socket() const { return runtime.filePath(QStringLiteral("pulse/native")); }
    ~TNullSoundServer() {
        server.terminate();
        if (!server.waitForFinished(3000))
            server.kill();
        server.waitForFinished();
    }
};
} // namespace

// Every row of the table through the real module and a real (null) output, in a child process: a
// crash or a freeze there is the program's.
void TestSound::everyFormatThroughARealOutput() {
#ifdef VT_SOUND_MODULE_DIR
    TNullSoundServer sound;
    if (!sound.start())
        QSKIP("no pulseaudio to give the test an audio output (Debian package pulseaudio)");
    QTemporaryDir dir;
    for (const TFormatRow& row : formatTable()) {
        QFile f(dir.filePath(row.name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(row.bytes);
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kTableFolder), dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), sound.runtime.path());
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + sound.socket());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("theFormatTable")});
    QVERIFY(child.waitForStarted());
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        QFAIL("a sound froze the sound module");
    }
    QCOMPARE(child.exitStatus(), QProcess::NormalExit); // SIGFPE on a rate of 1 or 8 Hz before
    QCOMPARE(child.exitCode(), 0);
    // What reached the output: every sound taken, none refused.
    QTest::qWait(200);
    const QString log = QString::fromUtf8(sound.server.readAll());
    const QStringList opened = log.split(QLatin1Char('\n')).filter(QStringLiteral("Created input"));
    for (const TFormatRow& row : formatTable()) {
        const bool played = std::any_of(opened.begin(), opened.end(), [&](const QString& line) {
            return line.contains(QStringLiteral("sample s")) && line.contains(row.serverFormat);
        });
        QVERIFY2(played == row.plays, qPrintable(row.name + (played ? " played" : " did not play")));
    }
#else
    QSKIP("no sound module on this platform");
#endif
}

void TestSound::theFormatTable() {
#ifdef VT_SOUND_MODULE_DIR
    const QString folder = qEnvironmentVariable(kTableFolder);
    if (folder.isEmpty())
        QSKIP("run by everyFormatThroughARealOutput");
    TModuleSoundBackEnd module(QStringLiteral(VT_SOUND_MODULE_DIR));
    const QDir dir(folder);
    for (const TFormatRow& row : formatTable()) {
        module.Play(dir.filePath(row.name).toStdString());
        QTest::qWait(300); // the toolkit's player died here, as the sound started
        module.Play(dir.filePath(QStringLiteral("4000hz.wav")).toStdString());
        QTest::qWait(30);
    }
    module.Stop();

    // The countdown's go.wav at 1 Hz, as a group member may leave it in the shared folder: the
    // countdown ends and the lesson goes on.
    TestProgram program(true);
    program.writeFile(QStringLiteral("snd/go.wav"), formatTable().front().bytes);
    program.createWindows();
    SetSoundBackEnd(&module);
    RunCountdown(nullptr);
    QTest::qWait(500);
    QVERIFY(!frmCont->isVisible());
    SetSoundBackEnd(nullptr);
#endif
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
