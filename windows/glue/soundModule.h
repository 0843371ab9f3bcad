#pragma once
#include "core/platform/sound.h"

#include <QString>

#include <cstddef>

// The toolkit's player lives in a module of its own in the module folder, loaded on the first sound
// played: starting the program does not load the multimedia libraries, and a missing module only
// means silence.
class TModuleSoundBackEnd : public TSoundBackEnd {
public:
    // The folder that holds the module; empty: ModuleFolder().
    explicit TModuleSoundBackEnd(QString folder = QString());
    void Play(const std::string& utf8Path) override;
    void Stop() override;
    bool Loaded() const { return m_play != nullptr; }

private:
    bool load();
    QString m_folder;
    bool m_tried = false;
    void (*m_play)(const char*, std::size_t, unsigned, unsigned, unsigned, int) = nullptr;
    void (*m_stop)() = nullptr;
};

// The module's file name without prefix and suffix.
inline constexpr const char* kSoundModuleName = "velotecla_sound";

// Makes the module the program's sound back-end, except on Windows, whose own player stays.
void InstallSoundModule();
