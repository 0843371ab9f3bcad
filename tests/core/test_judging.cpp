#include "core/exercise/echo.h"
#include "core/exercise/history.h"
#include "core/exercise/judging.h"
#include "core/platform/tickCounter.h"
#include "core/storage/convert.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
constexpr double kSecond = 1.0 / 86400.0;

TExerciseState Lesson(std::initializer_list<int> codes, int words) {
    TExerciseState s;
    SetModel(s, codes);
    s.WordsToType = words;
    s.ExpectedTime = 60 * kSecond;
    s.MinimumPercent = 90;
    StartExercise(s, 0.5);
    return s;
}

// Types keys and collects the sounds asked for.
struct Typist {
    explicit Typist(TExerciseState& s) : state(s) {}
    TExerciseState& state;
    std::int32_t toggle = 0;
    std::vector<std::string> sounds;
    void type(std::initializer_list<int> keys) {
        for (int k : keys)
            JudgeKey(state, static_cast<std::uint16_t>(k), toggle,
                     [this](const std::string& f) { sounds.push_back(f); });
    }
};

constexpr int A = 65, S = 83, D = 68, Space = 32;
} // namespace

TEST(Judging, FiveRightWordsArePraisedOnceAtTheFifth) {
    auto s = Lesson({A, S, Space}, 5);
    Typist t{s};
    for (int w = 0; w < 4; ++w)
        t.type({A, S, Space});
    EXPECT_TRUE(t.sounds.empty());
    EXPECT_FALSE(LessonComplete(s));
    t.type({A, S, Space});
    EXPECT_EQ(t.sounds, std::vector<std::string>{"great.wav"});
    EXPECT_EQ(s.WordsRight, 5);
    EXPECT_EQ(s.WordsWrong, 0);
    EXPECT_EQ(s.LettersRight, 15);
    EXPECT_EQ(s.LettersWrong, 0);
    EXPECT_EQ(s.RightStreak, 0);
    EXPECT_EQ(RightPercentage(s), 100);
    EXPECT_TRUE(LessonComplete(s));
}

TEST(Judging, WrongWordsAlternateTheirSoundAndBreakTheStreak) {
    auto s = Lesson({A, S, Space}, 20);
    Typist t{s};
    t.type({A, S, Space, A, S, Space, A, S, Space, A, S, Space});
    t.type({A, D, Space});
    EXPECT_EQ(t.sounds, std::vector<std::string>{"nono1.wav"});
    EXPECT_EQ(s.WordsWrong, 1);
    EXPECT_EQ(s.LettersRight, 14);
    EXPECT_EQ(s.LettersWrong, 1);
    EXPECT_EQ(s.RightStreak, 0);
    EXPECT_EQ(s.TypedWord, "");
    t.type({Space}); // a space first: a wrong letter and at once a wrong word, the other sound
    EXPECT_EQ(s.WordsWrong, 2);
    EXPECT_EQ(s.LettersWrong, 2);
    // Four right words after the wrong ones are no praise yet; the fifth is.
    for (int w = 0; w < 4; ++w)
        t.type({A, S, Space});
    EXPECT_EQ(t.sounds, (std::vector<std::string>{"nono1.wav", "nono0.wav"}));
    t.type({A, S, Space});
    EXPECT_EQ(t.sounds.back(), "great.wav");
    // The toggle belongs to the run, not to the exercise.
    StartExercise(s, 0.5);
    t.type({D, Space});
    EXPECT_EQ(t.sounds.back(), "nono1.wav");
}

TEST(Judging, AnAttemptRunningPastTheModelIsDroppedButItsLettersCount) {
    auto s = Lesson({A, S, Space}, 5);
    Typist t{s};
    t.type({A, S});
    EXPECT_EQ(s.TypedWord, "AS");
    EXPECT_EQ(s.WordPosition, 2);
    t.type({D});
    EXPECT_EQ(s.LettersRight, 2);
    EXPECT_EQ(s.LettersWrong, 1);
    EXPECT_EQ(s.WordsRight + s.WordsWrong, 0);
    EXPECT_EQ(s.WordPosition, 0);
    EXPECT_EQ(s.TypedWord, "");
    EXPECT_TRUE(t.sounds.empty());
    t.type({A, S, Space}); // the next attempt starts afresh
    EXPECT_EQ(s.WordsRight, 1);
}

TEST(Judging, TheLastCodeEarlierInTheModelEndsTheAttemptAsAWrongWord) {
    auto s = Lesson({A, Space, S, Space}, 5);
    Typist t{s};
    t.type({A, Space});
    EXPECT_EQ(s.LettersRight, 2);
    EXPECT_EQ(s.WordsWrong, 1);
    EXPECT_EQ(s.WordPosition, 0);
    // A line ended by Enter works the same way as a word ended by a space.
    auto line = Lesson({16, A, S, 13}, 2);
    Typist u{line};
    u.type({16, A, S, 13, 16, A, D, 13});
    EXPECT_EQ(line.WordsRight, 1);
    EXPECT_EQ(line.WordsWrong, 1);
    EXPECT_TRUE(LessonComplete(line));
}

TEST(Judging, KeysAreJudgedByTheirLowByte) {
    auto s = Lesson({186, 222, Space}, 5);
    Typist t{s};
    t.type({186, 0x100 + 222, Space});
    EXPECT_EQ(s.WordsRight, 1);
    EXPECT_EQ(s.LettersRight, 3);
}

TEST(Judging, ALessonWithoutCodesNeverReadsOutsideTheModel) {
    TExerciseState s;
    s.WordsToType = 1;
    StartExercise(s, 0.0);
    Typist t{s};
    for (int i = 0; i < 600; ++i)
        t.type({A});
    EXPECT_EQ(s.LettersWrong, 600);
    EXPECT_EQ(s.WordsRight + s.WordsWrong, 0);
    EXPECT_LT(s.WordPosition, 256);

    // A model is put in whole or not at all, never past its room; a shorter one clears what was there.
    SetModel(s, std::vector<int>(MaxLessonCodes, A));
    EXPECT_THROW(SetModel(s, std::vector<int>(MaxLessonCodes + 1, S)), std::length_error);
    SetModel(s, {S});
    EXPECT_EQ(s.ModelLength, 1);
    EXPECT_EQ(s.ModelCodes[1], 0);
    // A code keeps its low eight bits, as a key is judged: a lesson's "300" is 44.
    SetModel(s, {300, A, 0, S});
    EXPECT_EQ(std::vector<int>(s.ModelCodes, s.ModelCodes + 5), (std::vector<int>{44, A, 0, S, 0}));
}

TEST(Judging, StartingResetsTheCountersAndTakesTheTime) {
    auto s = Lesson({A, Space}, 3);
    Typist t{s};
    t.type({A, S, A});
    StartExercise(s, 0.75);
    EXPECT_TRUE(s.Running);
    EXPECT_EQ(s.StartTime, 0.75);
    EXPECT_EQ(s.LettersRight + s.LettersWrong + s.WordsRight + s.WordsWrong + s.WordPosition + s.RightStreak,
              0);
    EXPECT_EQ(s.TypedWord, "");
}

TEST(Percentage, WholeNumbersRoundedDown) {
    EXPECT_EQ(RightPercentage(53, 47), 53);
    EXPECT_EQ(RightPercentage(2, 1), 66);
    EXPECT_EQ(RightPercentage(0, 0), 0);
    EXPECT_EQ(RightPercentage(40, 2), 95);
    EXPECT_EQ(RightPercentage(0, 5), 0);
    EXPECT_EQ(RightPercentage(2000000000, 0), 100); // no overflow on long courses
}

TEST(Statistics, TheNineLinesExactly) {
    auto s = Lesson({A, S, Space}, 5);
    s.WordsRight = 12;
    s.WordsWrong = 3;
    s.LettersRight = 53;
    s.LettersWrong = 47;
    s.MinimumPercent = 85;
    EXPECT_EQ(StatisticsBlock(s, 60.5 * kSecond), "Palavras OK      = 12\r\n"
                                                  "Palavras Erradas =  3\r\n"
                                                  "Letras OK        = 53\r\n"
                                                  "Letras Erradas   = 47\r\n"
                                                  "Tempo Esperado   = 00:01:00\r\n"
                                                  "Tempo Decorrido  = 00:01:00\r\n"
                                                  "---------------------------\r\n"
                                                  "Porcentagem Minima    = 85%\r\n"
                                                  "Porcentagem de Acerto = 53%");
    EXPECT_EQ(ClockLine(67 * kSecond), "Tempo Decorrido: 00:01:07 - Use \"ESC\" p/ Sair.");
}

TEST(Statistics, ElapsedTimeAcrossMidnightStillCounts) {
    EXPECT_NEAR(ElapsedSince(0.25, 0.25 + 50 * kSecond), 50 * kSecond, 1e-12);
    EXPECT_EQ(TimeToStr(ElapsedSince(1.0 - 30 * kSecond, 15 * kSecond)), "00:00:45");
}

TEST(Echo, TheCharacterTheLayoutTypesOnTheKey) {
    const struct {
        std::uint16_t code;
        bool shifted;
        std::string american, abnt2;
    } cases[] = {
        {13, false, "\r\n", "\r\n"}, {32, false, " ", " "},    {65, false, "a", "a"},  {65, true, "A", "A"},
        {186, false, ";", "\xE7"},   {186, true, ":", "\xC7"}, {188, false, ",", ","}, {190, false, ".", "."},
        {190, true, ">", ">"},       {189, false, "-", "-"},   {49, false, "1", "1"},  {49, true, "!", "!"},
        {52, true, "$", "$"},        {57, true, "(", "("},     {191, false, "/", ";"}, {191, true, "?", ":"},
        {222, false, "'", "~"},      {16, true, "", ""},       {9, false, "", ""},     {8, false, "", ""},
        {20, false, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EchoOf(c.code, c.shifted, 0), c.american) << c.code << " " << c.shifted;
        EXPECT_EQ(EchoOf(c.code, c.shifted, 1), c.abnt2) << c.code << " " << c.shifted;
    }
}

namespace {
// The echo's steps carried out on a string, as the window carries them out on its box; a marked character
// is shown between brackets.
std::string echoed(const std::vector<int>& model, int layout, int columns,
                   const std::vector<TEchoKey>& keys) {
    TExerciseState state;
    SetModel(state, model);
    state.WordsToType = 1000;
    StartExercise(state, 0.0);
    TEcho echo;
    std::string box;
    std::vector<std::size_t> marks;
    std::int32_t toggle = 0;
    for (TEchoKey key : keys) {
        key.layout = layout;
        const int wrongBefore = state.LettersWrong;
        JudgeKey(state, key.code, toggle, nullptr);
        const TEchoStep step = echo.Type(key, EchoVerdict(state, wrongBefore), columns);
        if (step.newLine) {
            const std::size_t at = box.size() - step.carried;
            box.insert(at, "\n");
            for (std::size_t& m : marks)
                m += m >= at;
        }
        box += step.text;
        if (step.lineAfter)
            box += "\n";
        if (step.markFromEnd)
            marks.push_back(box.size() - step.markFromEnd);
    }
    std::sort(marks.rbegin(), marks.rend());
    for (std::size_t m : marks)
        box.insert(m, "[").insert(m + 2, "]");
    return box;
}

std::vector<TEchoKey> keysOf(const std::string& text, bool capsLock = false) {
    std::vector<TEchoKey> keys;
    for (char c : text) {
        const bool capital = c >= 'A' && c <= 'Z';
        if (capital)
            keys.push_back({16, true, capsLock, 0});
        const int code = c == '\n'  ? 13
                         : c == ',' ? 188
                         : c == ';' ? 186
                         : capital  ? c
                         : c >= 'a' ? c - 32
                                    : c;
        keys.push_back({static_cast<std::uint16_t>(code), capital, capsLock, 0});
    }
    return keys;
}
} // namespace

TEST(Echo, TheBoxShowsWhatTheKeyboardWritesAndWhereEachWordWentWrong) {
    const std::vector<int> anaERui = {16, 'A', 'N', 'A', 32, 'E', 32, 16, 'R', 'U', 'I', 13};
    const std::vector<int> asdf = {'A', 'S', 'D', 'F', 32};
    const std::vector<int> longLine(40, 'A'); // no word ends within these rows: nothing marked
    std::vector<int> unended = longLine;
    unended.push_back(13);
    const TEchoKey acute{219}, grave{219, true}, tilde{222}, circumflex{222, true}, a{'A'},
        capsA{'A', false, true}, e{'E'}, o{'O'}, s{'S'}, space{32}, capsC{186, false, true},
        shiftCapsC{186, true, true};
    const struct {
        std::vector<int> model;
        int layout, columns;
        std::vector<TEchoKey> keys;
        std::string box;
    } rows[] = {
        // Caps Lock on: Shift gives small letters; the keys are the model's, so the words are right.
        {anaERui, 0, 80, keysOf("Ana e Rui\n", true), "aNA E rUI\n"},
        // ABNT2's dead keys joined to the vowel after them; before a blank the accent alone, before another
        // letter the accent and the letter. A Shift between them waits with the accent. Caps Lock turns ç.
        {unended,
         1,
         80,
         {acute, a, tilde, a, circumflex, e, grave, a, tilde, o, acute, capsA, capsC, shiftCapsC},
         "\xE1\xE3\xEA\xE0\xF5\xC1\xC7\xE7"},
        {unended,
         1,
         80,
         {acute, {16, true}, {'A', true}, acute, space, acute, s, tilde, tilde, a},
         "\xC1\xB4\xB4s~\xE3"},
        // The American layout has no dead keys.
        {unended, 0, 80, {{222}, a, {222, true}, a}, "'a\"a"},
        // Groups wrapped evenly: a blank at a full line's end is the break, a group that does not fit moves
        // whole (12 columns: two groups a line; 14: three, the blank dropped).
        {asdf, 0, 12, keysOf("asdf asdf asdf asdf asdf "), "asdf asdf \nasdf asdf \nasdf "},
        {asdf, 0, 14, keysOf("asdf asdf asdf asdf "), "asdf asdf asdf\nasdf "},
        // A wrong word's first wrong key: a wrong letter, a missed key, an extra key (the attempt runs past
        // the model and is dropped, and the blank after it is a wrong word of its own).
        {asdf, 0, 80, keysOf("asdf axdf adf asddf "), "asdf a[x]df a[d]f asd[d]f[ ]"},
        {anaERui, 0, 80, keysOf("Ana e Rui\nAna e Riu\nana e Rui\n"),
         "Ana e Rui\nAna e R[i]u\n[a]na e Rui\n"},
        // The mark stays on its character when the line breaks before the next group.
        {asdf, 0, 7, keysOf("axdf asdf "), "a[x]df \nasdf "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(echoed(row.model, row.layout, row.columns, row.keys), row.box) << row.box;
}

namespace {
// Keys as letters: "^" is Shift, "_" the space.
std::vector<std::uint8_t> codesOf(const std::string& text) {
    std::vector<std::uint8_t> codes;
    for (char c : text)
        codes.push_back(static_cast<std::uint8_t>(c == '^' ? 16 : c == '_' ? 32 : c));
    return codes;
}
char letterOf(std::uint8_t code) {
    return code == 16 ? '^' : code == 32 ? '_' : static_cast<char>(code);
}
} // namespace

TEST(KeySlips, EachSlipNamedByKeyAndKind) {
    struct Case {
        const char* model;
        const char* typed;
        const char* slips;
    } cases[] = {
        {"ASDF_", "GSDF_", "trocada A por G"},
        {"ASDF_", "AGDF_", "trocada S por G"},
        {"ASDF_", "ASDG_", "trocada F por G"},
        {"ASDF_", "SDF_", "esquecida A"}, // one key forgotten early: one slip, not four
        {"ASDF_", "ADF_", "esquecida S"},
        {"ASDF_", "ASD_", "esquecida F"},
        {"ASDF_", "QASDF_", "a mais Q em A"}, // on the key asked next
        {"ASDF_", "ASQDF_", "a mais Q em D"},
        {"ASDF_", "ASDFQ_", "a mais Q em _"},
        {"ASDF_", "SADF_", "invertida A; invertida S"},
        {"ASDF_", "ADSF_", "invertida S; invertida D"},
        {"ASDF_", "ASD_F", "invertida F; invertida _"},
        {"ASDF_", "SDG_", "esquecida A; trocada F por G"},
        {"ASDF_", "SAGF_", "invertida A; invertida S; trocada D por G"},
        {"ASDF_", "", "esquecida A; esquecida S; esquecida D; esquecida F; esquecida _"},
        {"ASDF_", "ASDFASDF_", "a mais A em _; a mais S em _; a mais D em _; a mais F em _"},
        {"ASDF", "ASDFASDF", "a mais A em F; a mais S em F; a mais D em F; a mais F em F"}, // none after
        {"^ANA_", "ANA_", "esquecida ^"}, // a capital without Shift
        {"AAS_", "AS_", "esquecida A"},
        {"AB_", "C_", "trocada A por C; esquecida B"}, // read from the start
        {"AA_", "AA_", ""},
        {"", "AB", ""},
    };
    std::vector<TSlipStep> steps;
    for (const Case& c : cases) {
        const auto model = codesOf(c.model), typed = codesOf(c.typed);
        AlignWord(model, typed, steps);
        std::string text;
        std::size_t asked = 0;
        for (const TSlipStep& s : steps) {
            const char key = letterOf(model[static_cast<std::size_t>(s.Model)]);
            const auto other = [&] { return letterOf(typed[static_cast<std::size_t>(s.Typed)]); };
            std::string slip;
            if (s.Kind == SlipKind::Swapped)
                slip = std::string("trocada ") + key + " por " + other();
            else if (s.Kind == SlipKind::Missed)
                slip = std::string("esquecida ") + key;
            else if (s.Kind == SlipKind::Transposed)
                slip = std::string("invertida ") + key;
            else if (s.Kind == SlipKind::Extra)
                slip = std::string("a mais ") + other() + " em " + key;
            if (s.Kind != SlipKind::Extra)
                ++asked;
            if (!slip.empty())
                text += (text.empty() ? "" : "; ") + slip;
        }
        EXPECT_EQ(text, c.slips) << c.model << " / " << c.typed;
        EXPECT_EQ(asked, model.size()) << c.model << " / " << c.typed; // every key asked, once
    }
}

TEST(KeySlips, TypedThroughTheJudgingWithTheTimeBeforeEachRightKey) {
    std::uint32_t now = 1000;
    SetTickSource([&] { return now += 100; }); // the start at 1100, then a key every 100 ms
    auto s = Lesson({A, S, Space}, 3);
    Typist t{s};
    t.type({A, S, Space, S, Space}); // right, then A forgotten
    now += 19900;                    // a pause of 20 s: counted as 10
    t.type({A, D, S, A, S, A});      // an extra D, then twice the model's keys without its end key
    SetTickSource({});
    EXPECT_EQ(s.WordsRight + s.WordsWrong, 2); // the judging as it always was
    EXPECT_EQ(s.SlipCount, 0);                 // the six keys were aligned as one word
    const TKeyTallies& k = s.Slips.Keys;
    ASSERT_EQ(k.size(), 3u);
    EXPECT_EQ(k[0].Key, Space);
    EXPECT_EQ(k[0].Asked, 3);
    EXPECT_EQ(k[0].Swapped, 1);
    EXPECT_EQ(k[0].Instead, A);
    EXPECT_EQ(k[0].Extra, 2);
    EXPECT_EQ(k[1].Key, A);
    EXPECT_EQ(k[1].Asked, 3);
    EXPECT_EQ(k[1].Missed, 1);
    EXPECT_EQ(k[1].RightMs, 100 + 10000);
    EXPECT_EQ(k[2].Key, S);
    EXPECT_EQ(k[2].Extra, 1); // D typed while reaching for S
    EXPECT_EQ(k[2].Right, 3);
    EXPECT_EQ(k[2].RightMs, 300);
    EXPECT_EQ(HistoryEntryOf(s, 1, "2026-12-09T14:05:31-03:00").Keys.size(), 3u);
}
