#include "core/platform/sound.h"

#include <cstdint>

#ifdef _WIN32
#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"

#include <filesystem>
#endif

#ifdef _WIN32
// <windows.h> first: <mmsystem.h> uses its types and does not include it.
#include <windows.h>
// after windows.h
#include <mmsystem.h>
#endif

namespace {

#ifdef _WIN32
// winmm plays one sound at a time per process and a new one cuts the old. No default sound in place
// of a missing file: the program plays nothing then, on every platform.
class TWinSound : public TSoundBackEnd {
public:
    void Play(const std::string& utf8Path) override {
        // Read once, from the data folder's handle and under the cap, checked, and those bytes played
        // from memory: winmm never opens the path itself. A file refused plays nothing, and cuts the
        // sound playing as any new one does.
        Stop();
        auto bytes = ReadWholeFile(PathFromUtf8(utf8Path), nullptr, kSoundFileCap);
        if (!bytes || !IsPlayableWav(*bytes))
            return;
        // winmm reads the bytes while it plays: they stay here until the next sound or Stop().
        m_playing = std::move(*bytes);
        sndPlaySoundA(m_playing.data(), SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
    }
    void Stop() override {
        // Synchronous: the bytes of the sound playing may be let go after it.
        sndPlaySoundA(nullptr, 0);
        m_playing.clear();
    }

private:
    std::string m_playing;
};
#endif

#ifndef _WIN32
class TSilence : public TSoundBackEnd {
public:
    void Play(const std::string&) override {}
    void Stop() override {}
};
#endif

TSoundBackEnd* g_backEnd = nullptr;

TSoundBackEnd& platformBackEnd() {
#ifdef _WIN32
    static TWinSound player;
#else
    static TSilence player;
#endif
    return player;
}

TSoundBackEnd& backEnd() {
    return g_backEnd ? *g_backEnd : platformBackEnd();
}

} // namespace

void PlaySoundFile(const std::string& utf8Path) {
    backEnd().Play(utf8Path);
}

void StopSound() {
    backEnd().Stop();
}

void SetSoundBackEnd(TSoundBackEnd* soundBackEnd) {
    g_backEnd = soundBackEnd;
}

namespace {
std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint16_t le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}
} // namespace

std::optional<TWavSound> PlayableWav(const std::string& bytes) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return std::nullopt;
    // The whole RIFF body must be in the file; a player waits for bytes the header promises.
    const std::uint64_t riffEnd = 8ull + le32(bytes, 4);
    if (riffEnd > bytes.size())
        return std::nullopt;
    TWavSound wav;
    std::uint16_t blockAlign = 0;
    for (std::uint64_t at = 12; at + 8 <= riffEnd;) {
        const std::string id = bytes.substr(at, 4);
        const std::uint64_t size = le32(bytes, at + 4);
        const std::uint64_t body = at + 8;
        if (body + size > riffEnd)
            return std::nullopt;
        if (id == "fmt ") {
            if (size < 16)
                return std::nullopt;
            std::uint16_t format = le16(bytes, body);
            // WAVE_FORMAT_EXTENSIBLE: the real format is the first two bytes of its sub-format.
            if (format == 0xFFFE)
                format = size >= 40 ? le16(bytes, body + 24) : 0;
            wav.Channels = le16(bytes, body + 2);
            wav.Rate = le32(bytes, body + 4);
            wav.Bits = le16(bytes, body + 14);
            wav.Float = format == 3;
            blockAlign = le16(bytes, body + 12);
            const bool sizeTaken = format == 1 ? wav.Bits == 8 || wav.Bits == 16 || wav.Bits == 32
                                               : format == 3 && wav.Bits == 32;
            if (!sizeTaken || (wav.Channels != 1 && wav.Channels != 2) || wav.Rate < kLowestWavRate ||
                wav.Rate > kHighestWavRate || blockAlign != wav.Channels * (wav.Bits / 8))
                return std::nullopt;
        } else if (id == "data") {
            // Samples only make sense after their format, and at least one of them.
            if (blockAlign == 0 || size < blockAlign)
                return std::nullopt;
            wav.DataOffset = static_cast<std::size_t>(body);
            wav.DataSize = static_cast<std::size_t>(size - size % blockAlign);
            return wav;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}
