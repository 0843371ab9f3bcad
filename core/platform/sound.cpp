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
        // winmm loads the whole file first: one over the cap (or reached through a planted link) plays
        // nothing, and cuts the sound playing as any new one does.
        std::error_code ec;
        const auto path = PathFromUtf8(utf8Path);
        if (!DataPathProblem(path).empty() || std::filesystem::file_size(path, ec) > kSoundFileCap) {
            Stop();
            return;
        }
        sndPlaySoundA(ansiPath(utf8Path).c_str(), SND_ASYNC | SND_NODEFAULT);
    }

private:
    // sndPlaySoundA takes the system's code page (Windows-1252 on a Portuguese system).
    static std::string ansiPath(const std::string& utf8) {
        const int size = static_cast<int>(utf8.size());
        const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
        std::wstring w(static_cast<std::size_t>(wide), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, w.data(), wide);
        const int narrow = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<std::size_t>(narrow), '\0');
        WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
        return out;
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

bool IsPlayableWav(const std::string& bytes) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    // The whole RIFF body must be in the file; a player waits for bytes the header promises.
    const std::uint64_t riffEnd = 8ull + le32(bytes, 4);
    if (riffEnd > bytes.size())
        return false;
    std::uint16_t blockAlign = 0;
    for (std::uint64_t at = 12; at + 8 <= riffEnd;) {
        const std::string id = bytes.substr(at, 4);
        const std::uint64_t size = le32(bytes, at + 4);
        const std::uint64_t body = at + 8;
        if (body + size > riffEnd)
            return false;
        if (id == "fmt ") {
            if (size < 16)
                return false;
            const std::uint16_t format = le16(bytes, body);
            const std::uint16_t channels = le16(bytes, body + 2);
            const std::uint32_t rate = le32(bytes, body + 4);
            const std::uint16_t bits = le16(bytes, body + 14);
            blockAlign = le16(bytes, body + 12);
            const bool pcm = format == 1 || format == 3 || format == 0xFFFE;
            if (!pcm || channels == 0 || rate == 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
                blockAlign != channels * (bits / 8))
                return false;
        } else if (id == "data") {
            // Samples only make sense after their format, and at least one of them.
            return blockAlign != 0 && size >= blockAlign;
        }
        at = body + size + (size & 1);
    }
    return false;
}
