#include "windows/glue/soundModule.h"

#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "windows/glue/moduleLoader.h"

TModuleSoundBackEnd::TModuleSoundBackEnd(QString folder) : m_folder(std::move(folder)) {}

bool TModuleSoundBackEnd::load() {
    if (m_tried)
        return Loaded();
    m_tried = true;
    m_play = reinterpret_cast<decltype(m_play)>(
        ResolveModuleFunction(kSoundModuleName, "VtSoundPlaySamples", m_folder));
    m_stop = reinterpret_cast<void (*)()>(ResolveModuleFunction(kSoundModuleName, "VtSoundStop", m_folder));
    if (!m_play || !m_stop) {
        m_play = nullptr;
        m_stop = nullptr;
    }
    return Loaded();
}

void TModuleSoundBackEnd::Play(const std::string& utf8Path) {
    // Read once from the data folder's handle, under the cap, and checked: the module gets those very
    // samples, never the path (which a link could turn elsewhere after the check). An empty, cut short
    // or lying WAV, or a format the toolkit's output cannot take (it divides by zero on a rate of a
    // few hertz), plays nothing and, like any new sound, cuts the one playing.
    const auto bytes = ReadWholeFile(PathFromUtf8(utf8Path), nullptr, kSoundFileCap);
    const auto wav = bytes ? PlayableWav(*bytes) : std::nullopt;
    if (!wav) {
        Stop();
        return;
    }
    if (load())
        m_play(bytes->data() + wav->DataOffset, wav->DataSize, wav->Rate, wav->Channels, wav->Bits,
               wav->Float ? 1 : 0);
}

void TModuleSoundBackEnd::Stop() {
    // Nothing can be playing before the first sound: no reason to load the module to stop.
    if (Loaded())
        m_stop();
}

void InstallSoundModule() {
#ifndef _WIN32
    static TModuleSoundBackEnd module;
    SetSoundBackEnd(&module);
#endif
}
