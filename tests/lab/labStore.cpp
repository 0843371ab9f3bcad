// One copy of the course at one lab machine, without its windows: finds the data folder as the course
// does (VELOTECLA_DADOS), and stores finished exercises of a student as the result window stores them.
//   vt-labstore <student> <lesson> <exercises>
// Exit 0 when every exercise was stored; 1 when one was not; 2 when there is no data folder.
#include "../core/finishedExercise.h"
#include "core/exercise/exerciseState.h"
#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 4)
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
    int failed = 0;
    for (int i = std::atoi(argv[3]); i > 0; --i) {
        errno = 0;
        if (!StoreExercise(profile, lesson, state, IsoLocalTime(std::time(nullptr)))) {
            ++failed;
            std::fprintf(stderr, "vt-labstore: %s, exercício não gravado: %s\n", argv[1],
                         SystemErrorText(errno).c_str());
        }
    }
    if (failed)
        std::fprintf(stderr, "vt-labstore: %d exercises not stored\n", failed);
    return failed ? 1 : 0;
}
