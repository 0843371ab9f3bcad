#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kAttack = 0.010;  // seconds
constexpr double kRelease = 0.040; // seconds

// Raised-cosine ramp from 0 to 1 over t in [0, 1]: no corner, so no click.
double ramp(double t) {
    return t <= 0 ? 0.0 : t >= 1 ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * t);
}

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void put32(std::string& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
} // namespace

void Track::note(double start, double length, double hz, const Timbre& timbre, double gain, double glideTo) {
    const auto first = static_cast<std::size_t>(start * kSampleRate);
    const auto count = static_cast<std::size_t>(length * kSampleRate);
    if (m_samples.size() < first + count + 1)
        m_samples.resize(first + count + 1, 0.0);
    double phase = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double f = glideTo > 0 ? hz + (glideTo - hz) * t / length : hz;
        f *= 1.0 + timbre.vibratoDepth * std::sin(2 * std::numbers::pi * timbre.vibratoHz * t);
        phase += 2 * std::numbers::pi * f / kSampleRate;
        double v = 0.0;
        for (std::size_t h = 0; h < timbre.harmonics.size(); ++h)
            v += timbre.harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
        const double envelope =
            ramp(t / kAttack) * ramp((length - t) / kRelease) * std::exp(-timbre.decayPerSecond * t);
        m_samples[first + i] += gain * envelope * v;
    }
}

double LoudestRmsDb(const std::vector<double>& samples) {
    const std::size_t window = kSampleRate / 20;
    double loudest = 0.0;
    for (std::size_t at = 0; at < samples.size(); at += window / 4) {
        const std::size_t end = std::min(samples.size(), at + window);
        double sum = 0.0;
        for (std::size_t i = at; i < end; ++i)
            sum += samples[i] * samples[i];
        loudest = std::max(loudest, sum / static_cast<double>(window));
    }
    return 10 * std::log10(std::max(loudest, 1e-20));
}

double Track::normalise(double rmsDb) {
    const double gain = std::pow(10.0, (rmsDb - LoudestRmsDb(m_samples)) / 20);
    double peak = 0.0;
    for (double& s : m_samples) {
        s *= gain;
        peak = std::max(peak, std::abs(s));
    }
    return 20 * std::log10(std::max(peak, 1e-20));
}

std::string WavBytes(const std::vector<double>& samples) {
    const auto dataBytes = static_cast<unsigned>(samples.size() * 2);
    std::string out = "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);
    for (double s : samples) {
        const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767);
        put16(out, static_cast<unsigned>(v) & 0xFFFF);
    }
    return out;
}
