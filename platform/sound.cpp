#include "platform/sound.h"

#include "platform/dataPlaces.h"
#include "platform/programFolder.h"
#include "storage/profileKeys.h"

#ifdef _WIN32
#include "storage/convert.h"

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
        const std::string ansi = Utf8ToCp1252Lossy(utf8Path);
        sndPlaySoundA(ansi.c_str(), SND_ASYNC | SND_NODEFAULT);
    }
    void Stop() override { sndPlaySoundA(nullptr, SND_ASYNC); }
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

TSoundBackEnd* CurrentSoundBackEnd() {
    return &backEnd();
}

std::string SoundPath(const std::string& fileName) {
    return PathToUtf8(ProgramFile(std::filesystem::path(files::SoundFolder) / PathFromUtf8(fileName)));
}
