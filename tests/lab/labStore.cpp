// One copy of the course at one lab machine, without its windows: finds the data folder as the course
// does (VELOTECLA_DADOS), and stores finished exercises of a student as the result window stores them.
//   vt-labstore <student> <lesson> <exercises> [perfil | trava | morre]
// With "perfil", instead of storing, writes the student's profile and lesson result file as many times
// as the catalogue and the editor write them (the current lesson, the editor's keys, the defaults a
// read stores). With "trava", holds the student's lock for <exercises> seconds, as a store on a slow
// machine would, and says "travada" once it holds it; with "morre", takes the lock and is killed holding
// it, as a machine switched off in the middle of a store. A store prints how long its first store and
// the longest of the others took. Exit 0 when every exercise was stored (with "trava": when the lock
// was still its own at the end); 1 when not; 2 when there is no data folder.
#include "../core/finishedExercise.h"
#include "core/exercise/exerciseState.h"
#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/lockFile.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

int main(int argc, char* argv[]) {
    const std::string mode = argc == 5 ? argv[4] : "";
    if (argc != 4 && !(argc == 5 && (mode == "perfil" || mode == "trava" || mode == "morre")))
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
    if (mode == "trava" || mode == "morre") {
        const TStudentLock lock(profile);
        if (!lock.Held()) {
            std::fprintf(stderr, "vt-labstore: %s\n", lock.Problem().c_str());
            return 2;
        }
        std::printf("travada\n");
        std::fflush(stdout);
        if (mode == "morre")
            std::raise(SIGKILL);
        std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[3])));
        const auto owner = ReadLockOwner(PathFromUtf8(StudentLockFile(profile)));
        const TLockOwner me = ThisProcess();
        return owner && owner->Machine == me.Machine && owner->Process == me.Process ? 0 : 1;
    }
    if (mode == "perfil") {
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
    long long first = -1;
    long long longest = 0;
    for (int i = std::atoi(argv[3]); i > 0; --i) {
        const auto start = std::chrono::steady_clock::now();
        const TStoreResult stored = StoreExercise(profile, lesson, state, IsoLocalTime(std::time(nullptr)));
        const long long took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        if (first < 0)
            first = took;
        else
            longest = std::max(longest, took);
        if (!stored)
            ++failed;
        if (!stored.Problem.empty())
            std::fprintf(stderr, "vt-labstore: %s: %s\n", argv[1], stored.Problem.c_str());
    }
    std::printf("primeira gravação: %lld ms; a mais longa das outras: %lld ms\n", first, longest);
    if (failed)
        std::fprintf(stderr, "vt-labstore: %d exercises not stored\n", failed);
    return failed ? 1 : 0;
}
