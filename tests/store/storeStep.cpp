// One exercise stored as the result window stores it, or one log-in as the roster does it, in a data
// folder, for the test that kills the store at each of its system calls (storeKill.sh).
//   vt-storestep <pasta> store   stores an exercise of lesson 3 for "ana" (getppid() marks its start and end)
//   vt-storestep <pasta> login   takes ana's lock as the log-in does, then prints "<aula> <perfil>
//   <histórico>":
//                                the exercises each file holds; exit 1 when they differ
#include "../core/finishedExercise.h"
#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (argc != 3)
        return 2;
    SetProgramFolder(PathFromUtf8(argv[1]));
    SetHelpFileName(files::HelpFile);
    const std::string profile = PathToUtf8(ProgramFolder() / files::UsersFolder / "ana");
    if (std::string(argv[2]) == "store") {
        (void)getppid();
        const TStoreResult stored =
            StoreExercise(profile, 3, FinishedExercise(10, 0, 40, 2, 50), IsoLocalTime(std::time(nullptr)));
        (void)getppid();
        if (!stored.Problem.empty())
            std::fprintf(stderr, "%s\n", stored.Problem.c_str());
        return stored ? 0 : 1;
    }
    { const TStudentLock login(profile); }
    const auto count = [](const std::string& file) {
        const auto value = IniReadValue(PathFromUtf8(file), "Config", "WordOK");
        return value ? std::stoll(*value) / 10 : 0;
    };
    const long long lesson = count(LessonResultFile(3, profile));
    const long long course = count(profile);
    const auto lines = static_cast<long long>(ReadHistoryFile(PathFromUtf8(HistoryFile(profile))).Total);
    std::printf("%lld %lld %lld\n", lesson, course, lines);
    return lesson == course && course == lines ? 0 : 1;
}
