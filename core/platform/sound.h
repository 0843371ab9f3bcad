#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Short WAV sounds, played asynchronously: at most one at a time, a new one cuts the one playing.
// A missing, unreadable or unplayable file plays nothing and reports nothing. The players read the file
// once, from the data folder's handle, check it and play those very bytes: never the path again.

class TSoundBackEnd {
public:
    virtual ~TSoundBackEnd() = default;
    virtual void Play(const std::string& utf8Path) = 0;
    virtual void Stop() = 0;
};

// Returns at once while the sound plays on.
void PlaySoundFile(const std::string& utf8Path);
void StopSound();

// The back-end is chosen once at start-up (tests put a recording one in). Not owned; nullptr gives
// the platform's own: the system's player on Windows, silence elsewhere until the program installs
// the toolkit's (see windows/glue/soundModule.h).
void SetSoundBackEnd(TSoundBackEnd* backEnd);

// What a player needs of a WAV sound that passed the check: its format and where its samples lie in the
// file's bytes (whole frames only).
struct TWavSound {
    unsigned Rate = 0;     // samples per second, kLowestWavRate to kHighestWavRate
    unsigned Channels = 0; // 1 or 2
    unsigned Bits = 0;     // 8 (unsigned), 16, 32 (whole numbers, or Float)
    bool Float = false;
    std::size_t DataOffset = 0;
    std::size_t DataSize = 0;
};
inline constexpr unsigned kLowestWavRate = 4000;
inline constexpr unsigned kHighestWavRate = 192000;

// A file's bytes as a whole WAV sound the players can take: RIFF and WAVE, a PCM format chunk the
// toolkit's player handles (mono or stereo, 8, 16 or 32 bits, a rate from 4,000 to 192,000 Hz; the
// player divides by zero on a rate of a few hertz) and a data chunk with samples that fit the file.
std::optional<TWavSound> PlayableWav(const std::string& bytes);
inline bool IsPlayableWav(const std::string& bytes) {
    return PlayableWav(bytes).has_value();
}
