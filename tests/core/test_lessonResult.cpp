#include "core/exercise/judging.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/settings.h"
#include "finishedExercise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class LessonResult : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("vt-result-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "aulas");
        fs::create_directories(folder / "users");
        SetProgramFolder(folder);
        SetHelpFileName("velotecla.hlp");
        profile = PathToUtf8(folder / "users" / "aluno");
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string read(const std::string& path) const {
        std::ifstream in(PathFromUtf8(path), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    void write(const std::string& path, const std::string& bytes) const {
        std::ofstream(PathFromUtf8(path), std::ios::binary) << bytes;
    }

    fs::path folder;
    std::string profile;
};
} // namespace

TEST_F(LessonResult, FirstAndSecondAttemptAtLessonThree) {
    const auto first = FinishedExercise(10, 0, 40, 2, 50);
    EXPECT_TRUE(LessonPassed(first));
    const std::string file = LessonResultFile(3, profile);
    EXPECT_EQ(file, PathToUtf8(folder / "aulas" / "aula3_aluno.def"));
    EXPECT_TRUE(AccumulateResults(file, first));
    EXPECT_EQ(read(file), "[Config]\r\nWordOK=10\r\nWordErr=0\r\nCharOK=40\r\nCharErr=2\r\n"
                          "TempoTotal=00:00:50\r\nPorcent=97\r\n");

    const auto second = FinishedExercise(8, 4, 32, 8, 75); // 80 %
    EXPECT_EQ(RightPercentage(second), 80);
    EXPECT_FALSE(LessonPassed(second));
    AccumulateResults(file, second);
    EXPECT_EQ(read(file), "[Config]\r\nWordOK=18\r\nWordErr=4\r\nCharOK=72\r\nCharErr=10\r\n"
                          "TempoTotal=00:02:05\r\nPorcent=88\r\n");
}

TEST_F(LessonResult, UnlockingWritesTheFlagOfTheNextLesson) {
    // Stored with an exercise, the unlocking and the totals are one write; the final test's is the
    // diploma's flag.
    write(profile, "[Aula1]\r\nHabilitado=1\r\n");
    EXPECT_EQ(NextLessonUnlock(24).Section, "Aula25");
    EXPECT_TRUE(AccumulateResults(profile, FinishedExercise(10, 0, 40, 2, 50), {NextLessonUnlock(3)}));
    EXPECT_EQ(read(profile), "[Aula1]\r\nHabilitado=1\r\n[Aula4]\r\nHabilitado=1\r\n[Config]\r\nWordOK=10\r\n"
                             "WordErr=0\r\nCharOK=40\r\nCharErr=2\r\nTempoTotal=00:00:50\r\nPorcent=97\r\n");
}

TEST_F(LessonResult, WritesThatFailAreAnsweredFalse) {
    // The result window records the exercise's history only when both files took every value.
    const std::string blocked = LessonResultFile(5, profile);
    fs::create_directory(PathFromUtf8(blocked)); // a folder where the file belongs
    EXPECT_FALSE(AccumulateResults(blocked, FinishedExercise(10, 0, 40, 2, 50)));
    const std::string nowhere = PathToUtf8(folder / "missing" / "aluno");
    EXPECT_FALSE(AccumulateResults(nowhere, FinishedExercise(10, 0, 40, 2, 50), {NextLessonUnlock(3)}));
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(LessonResult, ThePassRuleNeedsBothTimeAndPercentage) {
    struct Case {
        int right, wrong;
        double seconds;
        bool passed;
    } cases[] = {
        {90, 10, 60, true},    // equal percentage, equal time
        {89, 11, 30, false},   // below the minimum, time met
        {100, 0, 61, false},   // too slow at 100 %
        {100, 0, 60.5, false}, // 60.5 s is over 00:01:00, though both show as 00:01:00
        {100, 0, 59.999, true},   {100, 0, 60.0004, true}, // the clock is read to the millisecond: 60.000 s
        {100, 0, 60.0006, false},                          // 60.001 s
    };
    for (const Case& c : cases) {
        const auto s = FinishedExercise(1, 0, c.right, c.wrong, c.seconds);
        EXPECT_EQ(LessonPassed(s), c.passed) << c.right << "/" << c.wrong << " in " << c.seconds << " s";
    }
    // An exact minute read off the clock passes, whatever the rounding of the subtraction.
    auto s = FinishedExercise(1, 0, 100, 0, 0);
    for (double start : {0.1, 0.3337, 0.7, 0.99}) {
        s.FinalElapsed = ElapsedSince(start, start + 60 * kSecond);
        EXPECT_TRUE(LessonPassed(s)) << start;
    }
}

TEST_F(LessonResult, TheTotalTimeKeepsOnlyThePartBelowADay) {
    write(profile, "[Config]\r\nTempoTotal=23:59:30\r\n");
    AccumulateResults(profile, FinishedExercise(1, 0, 1, 0, 45));
    EXPECT_NE(read(profile).find("TempoTotal=00:00:15\r\n"), std::string::npos);
}

TEST_F(LessonResult, TheRunningPercentageIsRoundedTowardZero) {
    write(profile, "[Config]\r\nPorcent=-3\r\n");
    AccumulateResults(profile, FinishedExercise(0, 0, 0, 0, 1)); // 0 %
    EXPECT_NE(read(profile).find("Porcent=-1\r\n"), std::string::npos);
}

TEST_F(LessonResult, AStoredValueThatDoesNotParseStopsBeforeAnyWrite) {
    // The exercise goes into a file whole or not at all: nothing is written, the file is as it was.
    struct Row {
        const char* before;
        const char* error;
    } rows[] = {
        {"[Config]\r\nWordOK=5\r\nWordErr=1\r\nCharOK=abc\r\nCharErr=2\r\n",
         "'abc' is not a valid integer value"},
        {"[Config]\r\nTempoTotal=meia hora\r\n", "'meia hora' is not a valid time"},
        {"[Aula1]\r\nHabilitado=1\r\n[Config]\r\nPorcent=x\r\n", "'x' is not a valid integer value"},
    };
    for (const Row& row : rows) {
        write(profile, row.before);
        try {
            AccumulateResults(profile, FinishedExercise(10, 0, 40, 2, 50), {NextLessonUnlock(1)});
            ADD_FAILURE() << "no error for " << row.before;
        } catch (const VtError& e) {
            EXPECT_EQ(std::string(e.what()), row.error);
        }
        EXPECT_EQ(read(profile), row.before);
    }
}

// A total past the largest whole number the reader takes would be refused by every later read: the
// lesson would never record again. Totals stop at that number.
TEST_F(LessonResult, TotalsStopAtTheLargestNumberTheReaderTakes) {
    write(profile,
          "[Config]\r\nWordOK=2147483600\r\nWordErr=2147483647\r\nCharOK=2147483647\r\nCharErr=0\r\n");
    const auto big = FinishedExercise(100, 1, 2147483647, 2147483647, 1);
    AccumulateResults(profile, big);
    EXPECT_NO_THROW(AccumulateResults(profile, big));
    EXPECT_EQ(read(profile), "[Config]\r\nWordOK=2147483647\r\nWordErr=2147483647\r\nCharOK=2147483647\r\n"
                             "CharErr=2147483647\r\nTempoTotal=00:00:02\r\nPorcent=62\r\n");
}

// A store stopped at any step leaves its journal; whoever takes the student's lock next completes it:
// every file gets the exercise once, however far the store had gone and however often it is completed.
// The history's last line equal to the journal's (the same exercise twice in a second) is no sign that
// the line is in.
TEST_F(LessonResult, AJournalIsCompletedOnceFromEveryStep) {
    const std::string lessonFile = LessonResultFile(3, profile);
    const std::string history = HistoryFile(profile);
    const auto exercise = FinishedExercise(10, 0, 40, 2, 50);
    const std::string when = "2026-12-09T14:05:31-03:00";
    write(profile, "[Aula1]\r\nHabilitado=1\r\n");
    ASSERT_TRUE(StoreExercise(profile, 3, exercise, when));
    const std::string files[] = {lessonFile, profile, history};
    const auto contents = [&] {
        return std::vector<std::string>{read(files[0]), read(files[1]), read(files[2])};
    };
    const std::vector<std::string> before = contents();
    // The same exercise again, stopped after its journal: the lesson result file may not be written.
    fs::permissions(PathFromUtf8(lessonFile), fs::perms::owner_read);
    const TStoreResult stopped = StoreExercise(profile, 3, exercise, when);
    EXPECT_FALSE(stopped);
    // The file is named in the system's own way ("aulas\\aula3_aluno.def" on Windows).
    EXPECT_NE(stopped.Problem.find(PathToUtf8(fs::path("aulas") / "aula3_aluno.def")), std::string::npos)
        << stopped.Problem;
    EXPECT_EQ(read(lessonFile), before[0]);
    // Nothing more is stored until it is completed, and that is said.
    const TStoreResult refused = StoreExercise(profile, 3, exercise, when);
    EXPECT_NE(refused.Problem.find("não foi guardado"), std::string::npos) << refused.Problem;
    fs::permissions(PathFromUtf8(lessonFile), fs::perms::owner_read | fs::perms::owner_write);
    const std::string journal = read(StudentJournalFile(profile));
    ASSERT_FALSE(journal.empty());
    { const TStudentLock completed(profile); }
    const std::vector<std::string> after = contents();
    EXPECT_NE(after, before);
    EXPECT_EQ(std::count(after[2].begin(), after[2].end(), '\n'), 3); // header and two lines

    for (int written = 0; written <= 3; ++written) { // the files the store had written when stopped
        SCOPED_TRACE(written);
        for (int i = 0; i < 3; ++i)
            write(files[i], i < written ? after[i] : before[i]);
        write(StudentJournalFile(profile), journal);
        for (int times = 0; times < 2; ++times) {
            const TStudentLock completed(profile);
            EXPECT_TRUE(completed.Clear()) << completed.Problem();
        }
        EXPECT_EQ(contents(), after);
        EXPECT_FALSE(fs::exists(PathFromUtf8(StudentJournalFile(profile))));
    }
    // A journal whose student was removed since makes no profile again.
    fs::remove(PathFromUtf8(profile));
    write(StudentJournalFile(profile), journal);
    { const TStudentLock completed(profile); }
    EXPECT_FALSE(fs::exists(PathFromUtf8(profile)));
    EXPECT_FALSE(fs::exists(PathFromUtf8(StudentJournalFile(profile))));
}
