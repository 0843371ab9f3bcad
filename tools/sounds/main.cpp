// vt-sounds OUTDIR: synthesises the program's sounds into OUTDIR as 16-bit mono PCM WAV files, all at
// the same loudness (the loudest 50 ms of each at kLevelDb RMS), each under 1.5 seconds.
#include "synth.h"

#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"

#include <cstdio>
#include <filesystem>
#include <functional>

namespace {
constexpr double kLevelDb = -11.0;
constexpr double kPeakLimitDb = -1.0;

// Note frequencies (equal temperament, A4 = 440 Hz).
constexpr double E3 = 164.81, F3 = 174.61, Fs3 = 185.00, G3 = 196.00, Cs4 = 277.18, E4 = 329.63;
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99, C6 = 1046.50;

const Timbre kBell{{1.0, 0.45, 0.2, 0.08}, 5.0};
const Timbre kMarimba{{1.0, 0.0, 0.0, 0.3}, 7.0};
const Timbre kBrass{{1.0, 0.65, 0.45, 0.3, 0.18, 0.1}, 0.6, 5.5, 0.004};
const Timbre kSadBrass{{1.0, 0.6, 0.4, 0.25, 0.15}, 0.0, 6.0, 0.012};
const Timbre kSadBrassFading{{1.0, 0.6, 0.4, 0.25, 0.15}, 2.2, 6.0, 0.015};
const Timbre kSoft{{1.0, 0.0, 0.11, 0.0, 0.04}, 2.5};
const Timbre kBuzz{{1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14, 0.0, 0.11}, 0.0};

// The countdown's end: a short upward call.
Track go() {
    Track t;
    t.note(0.00, 0.14, G5, kBell, 0.8);
    t.note(0.12, 0.40, C6, kBell);
    return t;
}

// Five right words in a row: a quick rising arpeggio.
Track great() {
    Track t;
    const double notes[] = {C5, E5, G5, C6};
    for (int i = 0; i < 4; ++i)
        t.note(0.09 * i, i == 3 ? 0.55 : 0.22, notes[i], kMarimba);
    return t;
}

// Lesson passed: a small fanfare ending on a held chord.
Track ok() {
    Track t;
    t.note(0.00, 0.13, C5, kBrass, 0.8);
    t.note(0.15, 0.13, C5, kBrass, 0.8);
    for (double hz : {C5, E5, G5})
        t.note(0.30, 0.80, hz, kBrass, 0.45);
    t.note(0.30, 0.80, C6, kBrass, 0.3);
    return t;
}

// Lesson failed: a drooping "wah wah wah waah".
Track ahah() {
    Track t;
    t.note(0.00, 0.26, G3, kSadBrass);
    t.note(0.27, 0.26, Fs3, kSadBrass);
    t.note(0.54, 0.26, F3, kSadBrass);
    t.note(0.81, 0.58, E3, kSadBrassFading, 1.0, E3 * 0.97);
    return t;
}

// First wrong-word sound: a soft falling "uh-oh".
Track nono0() {
    Track t;
    t.note(0.00, 0.16, E4, kSoft);
    t.note(0.17, 0.30, Cs4, kSoft);
    return t;
}

// Second wrong-word sound, clearly another: two short low buzzes.
Track nono1() {
    Track t;
    t.note(0.00, 0.11, 150, kBuzz, 1.0, 140);
    t.note(0.16, 0.16, 140, kBuzz, 1.0, 125);
    return t;
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vt-sounds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = PathFromUtf8(argv[1]);
    std::error_code ignored;
    std::filesystem::create_directories(out, ignored);
    const std::pair<const char*, std::function<Track()>> sounds[] = {
        {"go.wav", go},     {"great.wav", great}, {"ok.wav", ok},
        {"ahah.wav", ahah}, {"nono0.wav", nono0}, {"nono1.wav", nono1}};
    for (const auto& [name, make] : sounds) {
        Track track = make();
        const double peak = track.normalise(kLevelDb);
        if (peak > kPeakLimitDb) {
            std::fprintf(stderr, "vt-sounds: %s peaks at %.1f dBFS\n", name, peak);
            return 1;
        }
        if (!WriteFileAtomically(out / name, WavBytes(track.samples()))) {
            std::fprintf(stderr, "vt-sounds: cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}
