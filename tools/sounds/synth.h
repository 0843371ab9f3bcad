#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A small additive synthesiser for the program's sounds: notes with a few harmonics, a smooth attack
// and release (no clicks), mixed into one mono track.
constexpr int kSampleRate = 44100;

struct Timbre {
    std::vector<double> harmonics; // amplitude of harmonic 1, 2, 3, ...
    double decayPerSecond = 0.0;   // exponential fade of the body of the note (0: held)
    double vibratoHz = 0.0;
    double vibratoDepth = 0.0; // as a fraction of the frequency
};

class Track {
public:
    // A note from start to start + length seconds; glideTo bends the pitch linearly to that frequency.
    void note(double start, double length, double hz, const Timbre& timbre, double gain = 1.0,
              double glideTo = 0.0);
    // Scales the track so that its loudest 50 ms have the given RMS level (dBFS); answers the peak (dBFS).
    double normalise(double rmsDb);
    const std::vector<double>& samples() const { return m_samples; }

private:
    std::vector<double> m_samples;
};

// The loudest RMS level of the track over 50 ms windows, in dBFS.
double LoudestRmsDb(const std::vector<double>& samples);

// 16-bit mono PCM WAV bytes.
std::string WavBytes(const std::vector<double>& samples);
