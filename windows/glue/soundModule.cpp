#include "windows/glue/soundModule.h"

#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "windows/glue/moduleLoader.h"

TModuleSoundBackEnd::TModuleSoundBackEnd(QString folder) : m_folder(std::move(folder)) {}

bool TModuleSoundBackEnd::load() {
    if (m_tried)
        return Loaded();
    m_tried = true;
    m_play = reinterpret_cast<void (*)(const char*)>(
        ResolveModuleFunction(kSoundModuleName, "VtSoundPlay", m_folder));
    m_stop = reinterpret_cast<void (*)()>(ResolveModuleFunction(kSoundModuleName, "VtSoundStop", m_folder));
    if (!m_play || !m_stop) {
        m_play = nullptr;
        m_stop = nullptr;
    }
    return Loaded();
}

void TModuleSoundBackEnd::Play(const std::string& utf8Path) {
    // The toolkit's player never finishes loading an empty, cut short or lying WAV, and the next
    // sound then waits on it for good: such a file is never handed over. It plays nothing, and like
    // any new sound it cuts the one playing.
    const auto bytes = ReadWholeFile(PathFromUtf8(utf8Path), nullptr, kSoundFileCap);
    if (!bytes || !IsPlayableWav(*bytes)) {
        Stop();
        return;
    }
    if (load())
        m_play(utf8Path.c_str());
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
