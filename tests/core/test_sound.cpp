#include "platform/programFolder.h"
#include "platform/sound.h"

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
