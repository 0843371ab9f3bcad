#pragma once
#include <string>
#include <vector>

// Short WAV sounds, played asynchronously: at most one at a time, a new one cuts the one playing.
// A missing or unreadable file plays nothing and reports nothing.

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

// Whether a file's bytes are a whole WAV sound the players can take: RIFF and WAVE, a PCM format chunk
// and a data chunk with samples that fit the file.
bool IsPlayableWav(const std::string& bytes);
