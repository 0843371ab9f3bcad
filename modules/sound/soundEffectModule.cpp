// The sound module: the toolkit's audio output behind two plain C entry points, loaded by the program
// on its first sound (windows/glue/soundModule.cpp). It is handed samples the program has already read
// and checked, never a file's path: nothing here opens a file, follows a link or parses a header.
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>

#include <cstddef>

namespace {
// One output for the whole program: stopping it before the next sound starts keeps one at a time.
struct TPlayer {
    QPointer<QAudioSink> sink;
    QBuffer* samples = nullptr; // what the sink reads; kept until the sink has stopped

    void stop() {
        if (sink)
            sink->stop();
        delete samples;
        samples = nullptr;
    }
};

TPlayer& player() {
    static TPlayer instance;
    return instance;
}
} // namespace

// `bits` 8 (unsigned), 16 or 32 (float when `isFloat`), 1 or 2 channels: the program checks the file
// (IsPlayableWav) and hands over only whole frames of a format taken here.
extern "C" Q_DECL_EXPORT void VtSoundPlaySamples(const char* bytes, std::size_t size, unsigned rate,
                                                 unsigned channels, unsigned bits, int isFloat) {
    TPlayer& p = player();
    p.stop();
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(rate));
    format.setChannelCount(static_cast<int>(channels));
    format.setSampleFormat(bits == 8    ? QAudioFormat::UInt8
                           : bits == 16 ? QAudioFormat::Int16
                           : isFloat    ? QAudioFormat::Float
                                        : QAudioFormat::Int32);
    if (!p.sink || p.sink->format() != format) {
        delete p.sink;
        p.sink = new QAudioSink(QMediaDevices::defaultAudioOutput(), format, QCoreApplication::instance());
        QAudioSink* sink = p.sink;
        // At the end of the samples the output stays open, waiting for more: close it.
        QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
            if (state == QAudio::IdleState)
                sink->stop();
        });
    }
    p.samples = new QBuffer;
    p.samples->setData(bytes, static_cast<qsizetype>(size));
    p.samples->open(QIODevice::ReadOnly);
    p.sink->start(p.samples);
}

extern "C" Q_DECL_EXPORT void VtSoundStop() {
    player().stop();
}
