// One copy of the course at one lab machine, without its windows: finds the data folder as the course
// does (VELOTECLA_DADOS), and stores finished exercises of a student as the result window stores them.
//   vt-labstore <student> <lesson> <exercises> [perfil]
// With "perfil", instead of storing, writes the student's profile and lesson result file as many times
// as the catalogue and the editor write them (the current lesson, the editor's keys, the defaults a
// read stores). Exit 0 when every exercise was stored; 1 when one was not; 2 when there is no data folder.
#include "../core/finishedExercise.h"
#include "core/exercise/exerciseState.h"
#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "perfil"))
        return 2;
    const DataPlaces places = FindDataPlaces(ExecutableFolder());
    if (places.unusable || places.mode != DataMode::Named || !places.notice.empty()) { // not the named folder
        std::fprintf(stderr, "vt-labstore: %s\n", places.notice.c_str());
        return 2;
    }
    UseDataPlaces(places);
    SetHelpFileName(files::HelpFile);
    SetDataProblemSink(
        [](const std::string& text) { std::fprintf(stderr, "vt-labstore: %s\n", text.c_str()); });
    const auto users = ProgramFolder() / files::UsersFolder;
    if (!MakeDataFolder(users)) {
        std::fprintf(stderr, "vt-labstore: users/ não pôde ser feita: %s\n", SystemErrorText(errno).c_str());
        return 2;
    }
    const std::string profile = PathToUtf8(users / argv[1]);
    CreateFileExclusively(PathFromUtf8(profile), "[Aula1]\r\nHabilitado=1\r\n"); // the editor's first save
    const TExerciseState state = FinishedExercise(10, 0, 40, 2, 50);
    const int lesson = std::atoi(argv[2]);
    if (argc == 5) {
        for (int i = std::atoi(argv[3]); i > 0; --i) {
            SelectSettingsFile(profile);
            WriteSetting(keys::Config, keys::AulaAtual, std::to_string(i % 24));
            WriteSettings({{"Aula1", keys::Habilitado, "1"}, {keys::Keyboard, keys::Layout, "0"}});
            ReadSetting(keys::Config, ("Nova" + std::to_string(i)).c_str(), "0");
            SelectSettingsFile(LessonResultFile(lesson, profile));
            ReadSetting(keys::Config, keys::WordOK, keys::CountDefault);
        }
        return 0;
    }
    int failed = 0;
    for (int i = std::atoi(argv[3]); i > 0; --i) {
        const TStoreResult stored = StoreExercise(profile, lesson, state, IsoLocalTime(std::time(nullptr)));
        if (!stored)
            ++failed;
        if (!stored.Problem.empty())
            std::fprintf(stderr, "vt-labstore: %s: %s\n", argv[1], stored.Problem.c_str());
    }
    if (failed)
        std::fprintf(stderr, "vt-labstore: %d exercises not stored\n", failed);
    return failed ? 1 : 0;
}
