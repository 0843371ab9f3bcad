#include "core/exercise/judging.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/platform/sound.h"
#include "tests/recordingSound.h"

#include <gtest/gtest.h>

TEST(Sound, CallsGoToTheChosenBackEndInOrder) {
    TRecordingSoundBackEnd recorder;
    SetSoundBackEnd(&recorder);
    PlaySoundFile("/p/snd/nono1.wav");
    PlaySoundFile("/p/snd/nono0.wav");
    StopSound();
    SetSoundBackEnd(nullptr);
    PlaySoundFile("/p/snd/ok.wav"); // the platform's own again: nothing recorded
    EXPECT_EQ(recorder.Calls,
              (std::vector<std::string>{"play /p/snd/nono1.wav", "play /p/snd/nono0.wav", "stop"}));
}

TEST(Sound, FilesLiveInTheSoundFolderBesideTheProgram) {
    SetProgramFolder("/opt/velotecla");
    EXPECT_EQ(SoundPath("go.wav"), PathToUtf8(std::filesystem::path("/opt/velotecla") / "snd" / "go.wav"));
}

// What the sound system may be handed: a whole PCM WAV whose chunks fit the file. Empty, cut short or
// lying files would make the toolkit's player wait for ever.
TEST(Sound, OnlyWholeWavFilesArePlayable) {
    const auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [](std::uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    const auto wav = [&](std::uint32_t claimedData, std::size_t realData) {
        return "RIFF" + u32(static_cast<std::uint32_t>(36 + realData)) + "WAVEfmt " + u32(16) + u16(1) +
               u16(1) + u32(22050) + u32(44100) + u16(2) + u16(16) + "data" + u32(claimedData) +
               std::string(realData, '\x10');
    };
    EXPECT_TRUE(IsPlayableWav(wav(200, 200)));
    // Other chunks (odd sizes padded to even) may come before the format and the samples.
    const std::string listed = "WAVELIST" + u32(1) + std::string("x\0", 2) + wav(4, 4).substr(12);
    EXPECT_TRUE(IsPlayableWav("RIFF" + u32(static_cast<std::uint32_t>(listed.size())) + listed));
    EXPECT_FALSE(IsPlayableWav(""));
    EXPECT_FALSE(IsPlayableWav(wav(200, 200).substr(0, 30)));  // cut short in the header
    EXPECT_FALSE(IsPlayableWav(wav(200, 200).substr(0, 150))); // cut short in the samples
    EXPECT_FALSE(IsPlayableWav(wav(100000, 200)));             // data larger than the file
    EXPECT_FALSE(IsPlayableWav(wav(0, 0)));                    // no samples at all
    std::string notWave = wav(200, 200);
    notWave.replace(8, 4, "AVI ");
    EXPECT_FALSE(IsPlayableWav(notWave));
    std::string noChannels = wav(200, 200);
    noChannels[22] = 0;
    EXPECT_FALSE(IsPlayableWav(noChannels));
}

// Formats the toolkit's output takes, and those it refuses or dies on (SIGFPE at 1 or 8 Hz); the player
// gets whole frames from where the samples start.
TEST(Sound, OnlyFormatsThePlayerTakes) {
    const auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [](std::uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    struct Row {
        std::uint16_t format, channels;
        std::uint32_t rate;
        std::uint16_t bits;
        bool playable;
    };
    for (const Row& r : std::initializer_list<Row>{{1, 1, 1, 16, false},
                                                   {1, 1, 8, 16, false},
                                                   {1, 1, 3999, 16, false},
                                                   {1, 1, 4000, 16, true},
                                                   {1, 2, 192000, 16, true},
                                                   {1, 1, 192001, 16, false},
                                                   {1, 3, 22050, 16, false},
                                                   {1, 6, 22050, 16, false},
                                                   {1, 1, 22050, 8, true},
                                                   {1, 1, 22050, 24, false},
                                                   {1, 1, 22050, 32, true},
                                                   {3, 1, 22050, 32, true},
                                                   {3, 1, 22050, 16, false},
                                                   {2, 1, 22050, 16, false}}) {
        const std::uint16_t align = static_cast<std::uint16_t>(r.channels * (r.bits / 8));
        const std::string wav = "RIFF" + u32(36 + 7u * align + 1) + "WAVEfmt " + u32(16) + u16(r.format) +
                                u16(r.channels) + u32(r.rate) + u32(r.rate * align) + u16(align) +
                                u16(r.bits) + "data" + u32(7u * align + 1) + std::string(7u * align + 1, 'x');
        const auto playable = PlayableWav(wav);
        ASSERT_EQ(playable.has_value(), r.playable)
            << r.format << " " << r.channels << " " << r.rate << " " << r.bits;
        if (playable) {
            EXPECT_EQ(playable->DataOffset, 44u);
            EXPECT_EQ(playable->DataSize,
                      (7u * align + 1) / align * align); // a byte short of a frame is none
            EXPECT_EQ(playable->Float, r.format == 3);
        }
    }
}
