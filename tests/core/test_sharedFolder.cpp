// A data folder that every member of a group can write: what a member plants there (links, FIFOs,
// huge files) must not reach elsewhere, hang or swallow the program; the same student at two
// machines, or a kill in the middle of a store, must not tear the totals.
#ifndef _WIN32
#include "core/exercise/history.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/lockFile.h"
#include "core/storage/settings.h"
#include "core/storage/textFile.h"
#include "finishedExercise.h"
#include "testFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <random>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Every file below a folder with its bytes (links as what they point to).
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
    std::map<std::string, std::string> all;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (e.is_symlink())
            all[e.path().string()] = "-> " + fs::read_symlink(e.path()).string();
        else if (e.is_regular_file())
            all[e.path().string()] = ReadWholeFile(e.path(), nullptr, 1 << 20).value_or("?");
        else
            all[e.path().string()] = "folder";
    }
    return all;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Ana's profile with a lesson open and the lessons' folder, as the stores below start from.
std::string anaProfile(TestFolder& data) {
    data.write("users/ana", "[Aula1]\r\nHabilitado=1\r\n");
    fs::create_directories(data.at("aulas"));
    return data.file("users/ana");
}

template <typename Children> void expectAllExitedWell(const Children& children) {
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

// The one exercise the stores below make: lesson 3, 10 words, 40 letters with 2 mistakes.
TStoreResult storeOne(const std::string& profile) {
    return StoreExercise(profile, 3, FinishedExercise(10, 0, 40, 2, 50), "2026-12-09T14:05:31-03:00");
}

// n exercises of storeOne in the profile, the lesson's file and the history: none lost.
void expectStoredExercises(TestFolder& data, int n) {
    for (const char* file : {"users/ana", "aulas/aula3_ana.def"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(IniReadValue(data.at(file), "Config", "WordOK"), std::to_string(10 * n));
        EXPECT_EQ(IniReadValue(data.at(file), "Config", "CharOK"), std::to_string(40 * n));
        EXPECT_EQ(IniReadValue(data.at(file), "Config", "CharErr"), std::to_string(2 * n));
    }
    const THistory history = ReadHistoryFile(HistoryFileIn(data.path(), "ana"));
    EXPECT_EQ(history.Entries.size(), std::size_t(n));
    for (const THistoryEntry& e : history.Entries)
        EXPECT_EQ(e.Lesson, 3); // the lesson stored, as the report counts it
}

} // namespace

// A member who puts a link in place of users/, aulas/, historico/ or a student's file gets nothing read
// from or written to what it points at; the link stays, and the message names it.
TEST(SharedFolder, PlantedLinksAreNeverFollowed) {
    struct Row {
        const char* entry; // what is replaced by a link
        bool folder;       // a link to a folder (else to a file)
    } rows[] = {
        {"users", true},
        {"aulas", true},
        {"historico", true},
        {"users/ana", false},
        {"aulas/aula3_ana.def", false},
        {"historico/ana.csv", false},
    };
    std::vector<std::string> told;
    SetDataProblemSink([&](const std::string& text) { told.push_back(text); });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        TestFolder data;
        const fs::path outside = data.path().parent_path() / (data.path().filename().string() + "-alheia");
        fs::create_directories(outside);
        data.write("users/ana", "[Aula1]\r\nHabilitado=1\r\n");
        data.write("aulas/aula3_ana.def", "[Config]\r\nWordOK=1\r\n");
        data.write("historico/ana.csv", std::string(kHistoryHeader) + "\r\n");
        // What the link points at: another user's files, with the names the program would use.
        std::ofstream(outside / "ana") << "segredo";
        std::ofstream(outside / "aula3_ana.def") << "segredo";
        std::ofstream(outside / "ana.csv") << "segredo";
        const fs::path planted = data.at(row.entry);
        fs::remove_all(planted);
        fs::create_symlink(row.folder ? outside : outside / planted.filename(), planted);
        const auto before = contentsOf(outside);
        told.clear();

        const std::string profile = data.file("users/ana");
        EXPECT_FALSE(
            StoreExercise(profile, 3, FinishedExercise(10, 0, 40, 2, 50), "2026-12-09T14:05:31-03:00"));
        EXPECT_FALSE(ReadWholeFile(row.folder ? planted / "ana" : planted).has_value());
        if (std::string(row.entry).starts_with("users")) {
            EXPECT_FALSE(IniReadValue(data.at("users/ana"), "Aula1", "Habilitado").has_value());
            EXPECT_FALSE(DeleteDataFile(profile));
        }

        EXPECT_EQ(contentsOf(outside), before);
        EXPECT_TRUE(fs::is_symlink(planted));
        ASSERT_FALSE(told.empty());
        EXPECT_NE(told.front().find(std::string("\"") + row.entry + "\""), std::string::npos) << told.front();
        EXPECT_NE(told.front().find("link"), std::string::npos);
        fs::remove_all(outside);
    }
    SetDataProblemSink(nullptr);
}

// A FIFO where a file belongs is never waited on: every read and store ends at once, and fails.
TEST(SharedFolder, AFifoIsNeverWaitedOn) {
    for (const char* entry : {"users/ana", "aulas/aula3_ana.def", "historico/ana.csv"}) {
        SCOPED_TRACE(entry);
        TestFolder data;
        fs::create_directories(data.at("users"));
        fs::create_directories(data.at("aulas"));
        fs::create_directories(data.at("historico"));
        ASSERT_EQ(mkfifo(data.file(entry).c_str(), 0666), 0);
        const std::string profile = data.file("users/ana");
        EXPECT_TRUE(EndsInTime(
            [&] {
                int error = 0;
                if (ReadWholeFile(data.at(entry), &error) || error != EINVAL)
                    _exit(1);
                if (StoreExercise(profile, 3, FinishedExercise(10, 0, 40, 2, 50),
                                  "2026-12-09T14:05:31-03:00"))
                    _exit(2);
            },
            5));
        struct stat st {};
        ASSERT_EQ(::lstat(data.file(entry).c_str(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));
    }
}

// Huge files planted in the folder: over the cap the read fails at once and takes no memory; a long
// history is added to without being read. Time and memory are printed, not judged.
TEST(SharedFolder, HugeFilesAreRefusedAtOnce) {
    TestFolder data;
    const auto sparse = [&](const char* relative, off_t size, const std::string& start) {
        data.write(relative, start);
        ASSERT_EQ(::truncate(data.file(relative).c_str(), size), 0);
    };
    sparse("users/ana", off_t(1) << 30, "[Config]\r\nWordOK=1\r\n");
    sparse("historico/bia.csv", 100 << 20, std::string(kHistoryHeader) + "\r\n");
    sparse("snd/ok.wav", 100 << 20, "RIFF");
    const long peakBefore = peakKilobytes();
    const auto start = std::chrono::steady_clock::now();

    int error = 0;
    EXPECT_FALSE(ReadWholeFile(data.at("users/ana"), &error).has_value());
    EXPECT_EQ(error, EFBIG);
    EXPECT_FALSE(IniReadValue(data.at("users/ana"), "Config", "WordOK").has_value());
    EXPECT_FALSE(StoreExercise(data.file("users/ana"), 3, FinishedExercise(10, 0, 40, 2, 50),
                               "2026-12-09T14:05:31-03:00"));
    EXPECT_EQ(fs::file_size(data.at("users/ana")), std::uintmax_t(1) << 30); // left as it was
    EXPECT_FALSE(ReadWholeFile(data.at("snd/ok.wav"), &error, kSoundFileCap).has_value());
    EXPECT_EQ(error, EFBIG);
    const auto entry = HistoryEntryOf(FinishedExercise(10, 0, 40, 2, 50), 3, "2026-12-09T14:05:31-03:00");
    EXPECT_TRUE(AppendHistoryEntry(HistoryFileIn(data.path(), "bia"), entry));
    EXPECT_EQ(fs::file_size(data.at("historico/bia.csv")), (100u << 20) + 2 + HistoryLine(entry).size() + 2);
    EXPECT_NE(ReadHistoryFile(HistoryFileIn(data.path(), "bia")).Problem.find("grande demais"),
              std::string::npos);

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long grown = peakKilobytes() - peakBefore;
    std::printf("1 GiB profile, 100 MB history and WAV: %.3f s, peak memory grew by %ld KiB\n", seconds,
                grown);
    EXPECT_LT(grown, 64 * 1024);
}

// Two copies of the program store the same student's exercises at the same moment, ten rounds: each
// exercise is in every file once, none lost to the other's write.
TEST(SharedFolder, TheSameStudentAtTwoCopiesLosesNothing) {
    TestFolder data;
    const std::string profile = anaProfile(data);
    constexpr int kRounds = 10;
    constexpr int kCopies = 2;
    for (int round = 0; round < kRounds; ++round) {
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t children[kCopies];
        for (pid_t& child : children) {
            child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                close(go[1]);
                char c;
                (void)!read(go[0], &c, 1); // both start when the pipe is closed
                _exit(storeOne(profile) ? 0 : 1);
            }
        }
        close(go[0]);
        close(go[1]);
        SCOPED_TRACE(round);
        expectAllExitedWell(children);
    }
    expectStoredExercises(data, kRounds * kCopies);
    EXPECT_FALSE(fs::exists(data.at("users/.ana.trava")));
}

// A store killed at any moment, 200 times: each file holds every exercise whole or not at all, the next
// log-in completes the store from its journal so that the three files agree, and what a kill leaves
// behind (a temporary, the lock) never stops the next store.
TEST(SharedFolder, AKilledStoreLeavesEveryFileWhole) {
    TestFolder data;
    const std::string profile = anaProfile(data);
    const auto count = [&](const char* file) -> int {
        const auto text = ReadWholeFile(data.at(file));
        if (!text)
            return 0;
        const auto values = IniAllValues(*text);
        const auto value = [&](const char* key) {
            const auto it = values.find(IniValueKey("Config", key));
            return it == values.end() ? 0 : std::stoi(it->second);
        };
        const int c = value("WordOK") / 10;
        EXPECT_EQ(value("WordOK"), 10 * c) << file;
        EXPECT_EQ(value("CharOK"), 40 * c) << file;
        EXPECT_EQ(value("CharErr"), 2 * c) << file;
        if (std::string(file) == "users/ana") {
            EXPECT_EQ(values.count(IniValueKey("Aula4", "Habilitado")), c > 0 ? 1u : 0u);
        }
        return c;
    };
    std::mt19937 rng(2026);
    int killed = 0;
    for (int round = 0; round < 200; ++round) {
        killed += KillWhileRepeating([&] { storeOne(profile); }, rng, 1, 8000);
        // The next log-in completes what the kill left half-way: the three files agree, every time.
        { const TStudentLock login(profile); }
        const int lesson = count("aulas/aula3_ana.def");
        const int course = count("users/ana");
        const int lines = static_cast<int>(ReadHistoryFile(HistoryFileIn(data.path(), "ana")).Total);
        ASSERT_TRUE(lines == course && course == lesson)
            << "round " << round << ": lesson " << lesson << ", course " << course << ", history " << lines;
        ASSERT_FALSE(fs::exists(data.at("users/.ana.diario")));
    }
    EXPECT_EQ(killed, 200);
    EXPECT_GT(count("users/ana"), 0);
    // The temporaries a kill left are the program's own hidden files, removed at the next start.
    for (const char* folder : {"users", "aulas", "historico"})
        RemoveStaleTemporaries(data.at(folder), 0);
    for (const char* folder : {"users", "aulas", "historico"})
        for (const auto& e : fs::directory_iterator(data.at(folder)))
            EXPECT_FALSE(e.path().filename().string().ends_with(".tmp")) << e.path();
}

// Whatever sits where the lock belongs is settled without waiting: a lock whose process ended here is
// taken over at once; one of another machine only once this program has seen it unchanged for the
// stale time, whatever its date says (a clock 2 minutes ahead or behind, a date out of range); what
// cannot be a lock is named and left as it is.
TEST(SharedFolder, ALockIsJudgedByWhatThisProgramSeesOfIt) {
    const pid_t gone = [] {
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        waitpid(child, nullptr, 0);
        return child;
    }();
    const long long now = std::time(nullptr);
    const std::string here = ThisMachine();
    const auto lockText = [](const std::string& machine, long long process, const std::string& since) {
        return machine + "\n" + std::to_string(process) + "\n" + since + "\n";
    };
    const auto writing = [](const std::string& text) {
        return [text](TestFolder& d) { d.write(".ana.trava", text); };
    };
    struct Row {
        const char* situation;
        std::function<void(TestFolder&)> plant; // what is put where the lock belongs
        int waitMs;
        bool taken;
        double atLeastSeconds; // the take-over waits this long (seen unchanged for the stale time)
        const char* told;      // in the problem when not taken
    };
    const Row rows[] = {
        {"this machine, process ended", writing(lockText(here, gone, std::to_string(now))), 100, true, 0, ""},
        {"this machine, process alive", writing(lockText(here, getppid(), std::to_string(now))), 100, false,
         0, "continuou com o computador"},
        {"another machine, clock 2 minutes behind: a live lock looks old",
         writing(lockText("sala2", 123, std::to_string(now - 120))), 300, false, 0,
         "continuou com o computador \"sala2\""},
        {"another machine, clock 2 minutes ahead, dead",
         writing(lockText("sala2", 123, std::to_string(now + 120))), 3000, true, 1, ""},
        {"another machine, date out of range", writing(lockText("sala2", 123, "99999999999999999999999")),
         3000, true, 1, ""},
        {"a lock cut short", writing("sala2\n"), 3000, true, 1, ""},
        {"a folder", [](TestFolder& d) { fs::create_directories(d.at(".ana.trava")); }, 3000, false, 0,
         "há uma pasta"},
        {"a FIFO", [](TestFolder& d) { mkfifo(d.file(".ana.trava").c_str(), 0666); }, 3000, false, 0,
         "há um FIFO"},
        {"a huge file",
         [](TestFolder& d) {
             d.write(".ana.trava", "x");
             (void)!::truncate(d.file(".ana.trava").c_str(), off_t(1) << 30);
         },
         3000, false, 0, "grande demais"},
        {"a link", [](TestFolder& d) { fs::create_symlink("/dev/null", d.at(".ana.trava")); }, 3000, false, 0,
         "um atalho"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        TestFolder data;
        const fs::path lock = data.at(".ana.trava");
        row.plant(data);
        const auto start = std::chrono::steady_clock::now();
        {
            const TFileLock taken(lock, row.waitMs, 1);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            EXPECT_EQ(taken.Held(), row.taken) << taken.Problem();
            EXPECT_GE(seconds, row.atLeastSeconds);
            EXPECT_LT(seconds, row.taken ? row.atLeastSeconds + 1 : row.waitMs / 1000.0 + 0.5);
            EXPECT_NE(taken.Problem().find(row.told), std::string::npos) << taken.Problem();
            if (row.taken) {
                EXPECT_EQ(ReadLockOwner(lock)->Process, getpid());
            }
        }
        std::error_code ec;
        EXPECT_EQ(fs::exists(fs::symlink_status(lock, ec)), !row.taken); // what was planted stays
        for (const auto& e : fs::directory_iterator(data.path()))
            EXPECT_EQ(e.path(), lock) << "left behind"; // nothing moved aside stays
    }
}

// A folder that cannot be written answers at once with the reason, and so does the store, in words.
TEST(SharedFolder, ALockThatCannotBeMadeIsSaidAtOnce) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes a read-only folder";
    TestFolder data;
    const std::string profile = anaProfile(data);
    fs::permissions(data.at("users"), fs::perms::owner_read | fs::perms::owner_exec);
    const auto start = std::chrono::steady_clock::now();
    const TStoreResult stored = storeOne(profile);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
    fs::permissions(data.at("users"), fs::perms::owner_all);
    EXPECT_FALSE(stored);
    EXPECT_NE(stored.Problem.find("não foi guardado"), std::string::npos) << stored.Problem;
    EXPECT_NE(stored.Problem.find("permissão negada"), std::string::npos) << stored.Problem;
    EXPECT_FALSE(fs::exists(data.at("aulas/aula3_ana.def")));
}

// Six processes take over one stale lock again and again: every holder leaves the lock as a dead
// process leaves it, so each of the 3,000 holds is a take-over, and never are two held at once.
TEST(SharedFolder, ATakeOverLeavesOneHolder) {
    TestFolder data;
    const fs::path lock = data.at(".ana.trava");
    constexpr int kTakers = 6;
    constexpr int kTakeOvers = 500;
    auto* shared = static_cast<std::atomic<int>*>(mmap(
        nullptr, 2 * sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(shared, MAP_FAILED);
    new (&shared[0]) std::atomic<int>(0); // holding now
    new (&shared[1]) std::atomic<int>(0); // seen two at once
    const std::string here = ThisMachine();
    data.write(".ana.trava", here + "\n0\n1\n");
    pid_t children[kTakers];
    for (int t = 0; t < kTakers; ++t) {
        children[t] = fork();
        ASSERT_GE(children[t], 0);
        if (children[t] == 0) {
            for (int i = 0; i < kTakeOvers; ++i) {
                const TFileLock held(lock, 60000, 0);
                if (!held.Held())
                    _exit(3);
                if (shared[0].fetch_add(1) != 0)
                    shared[1].fetch_add(1);
                std::this_thread::yield();
                shared[0].fetch_sub(1);
                // Left as a process gone from this machine leaves it (process 0), each time another.
                const fs::path dead = data.at("dead-" + std::to_string(getpid()));
                std::ofstream(dead) << here << "\n0\n" << getpid() * 1000 + i << "\n";
                fs::rename(dead, lock);
            }
            _exit(0);
        }
    }
    expectAllExitedWell(children);
    EXPECT_EQ(shared[1].load(), 0) << "two holders at once";
    munmap(shared, 2 * sizeof(std::atomic<int>));
}

// The catalogue's and the editor's writes of a profile, and the reads that store defaults, meet
// exercise stores of the same student: every write is a read-modify-write under the student's lock,
// so no word stored is lost.
TEST(SharedFolder, ProfileWritesNeverLoseAStoredExercise) {
    TestFolder data;
    const std::string profile = anaProfile(data);
    constexpr int kStores = 60;
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < kStores; ++i) {
                if (c < 2) {
                    if (!storeOne(profile))
                        _exit(1);
                    continue;
                }
                SelectSettingsFile(profile); // the catalogue and the editor
                WriteSetting("Config", "AulaAtual", std::to_string(i % 24));
                WriteSettings({{"Aula1", "Habilitado", "1"}, {"Definition", "Control", "1"}});
                ReadSetting("Config", "Defaults" + std::to_string(i), "0");
                SelectSettingsFile(LessonResultFile(3, profile)); // the catalogue's look at a lesson
                ReadSetting("Config", "WordOK", "0");
                ReadSetting("Config", "Fresh" + std::to_string(i), "0");
            }
            _exit(0);
        }
        children.push_back(child);
    }
    expectAllExitedWell(children);
    expectStoredExercises(data, 2 * kStores);
    EXPECT_EQ(IniReadValue(data.at("users/ana"), "Config", "Defaults" + std::to_string(kStores - 1)), "0");
}
#endif
