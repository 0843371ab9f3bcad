#include "core/exercise/lessonResult.h"
#include "core/exercise/reforco.h"
#include "core/platform/keyboard.h"
#include "finishedExercise.h"
#include "testFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
constexpr int F = 'F', G = 'G', J = 'J', K = 'K', P = 'P', A = 'A', Cc = Vk::RightOfL, Z = 'Z';

struct Tally {
    int key, asked, right, instead;
};
THistoryEntry Exercise(std::vector<Tally> tallies, bool reforco = false) {
    THistoryEntry e;
    e.Lesson = 13;
    e.Reforco = reforco;
    for (const Tally& t : tallies) {
        TKeyTally k;
        k.Key = static_cast<std::uint8_t>(t.key);
        k.Asked = t.asked;
        k.Right = t.right;
        k.Swapped = t.asked - t.right;
        k.Instead = static_cast<std::uint8_t>(t.instead);
        k.InsteadTimes = t.instead ? t.asked - t.right : 0;
        e.Keys.push_back(k);
    }
    return e;
}

std::set<int> Letters(const std::string& keys) {
    std::set<int> out{Vk::Space, Vk::Return};
    for (char c : keys)
        out.insert(c == ';' ? Cc : c);
    return out;
}
const std::set<int> kAll = Letters("ABCDEFGHIJKLMNOPQRSTUVWXYZ;");

std::vector<int> FocusOf(const TReforcoChoice& c) {
    std::vector<int> out;
    for (const TReforcoKey& k : c.Focus)
        out.push_back(k.Key);
    return out;
}
} // namespace

TEST(Reforco, KeyChoice) {
    const THistoryEntry fWeak = Exercise({{F, 40, 30, G}, {G, 40, 38, F}, {J, 40, 40, 0}});
    const THistoryEntry fRight = Exercise({{F, 40, 40, 0}, {G, 40, 40, 0}}, true);
    const THistoryEntry fWrongInReforco = Exercise({{F, 40, 30, G}, {G, 40, 40, 0}}, true);
    std::vector<THistoryEntry> zThenTenOfF(11, Exercise({{F, 40, 30, 0}}));
    zThenTenOfF[0] = Exercise({{Z, 100, 0, 0}});
    struct Row {
        const char* name;
        std::vector<THistoryEntry> history;
        std::set<int> unlocked;
        std::vector<int> focus;
        bool whyNot;
    };
    const std::vector<Row> rows = {
        {"no data at all", {THistoryEntry{}}, kAll, {}, true},
        {"too few samples", {Exercise({{F, 19, 10, G}})}, kAll, {}, true},
        {"samples added over exercises",
         {Exercise({{F, 10, 5, G}}), Exercise({{F, 10, 5, G}})},
         kAll,
         {F},
         false},
        {"nothing wrong", {Exercise({{F, 40, 40, 0}})}, kAll, {}, true},
        {"weakest first, a key under half the share left out", {fWeak}, kAll, {F}, false},
        {"ties by more slips, then by key",
         {Exercise({{K, 20, 18, 0}, {J, 40, 36, 0}, {G, 40, 36, 0}, {A, 40, 39, 0}})},
         kAll,
         {G, J, K},
         false},
        {"no more than three",
         {Exercise({{A, 20, 10, 0}, {F, 20, 10, 0}, {G, 20, 10, 0}, {J, 20, 10, 0}})},
         kAll,
         {A, F, G},
         false},
        {"a key not yet unlocked",
         {Exercise({{P, 40, 10, 0}, {F, 40, 35, 0}})},
         Letters("ASDFGHJKL;"),
         {F},
         false},
        {"only keys words are made of",
         {Exercise({{Vk::Shift, 40, 10, 0}, {'1', 40, 10, 0}, {Cc, 40, 30, 0}})},
         kAll,
         {Cc},
         false},
        {"only the latest ten exercises", zThenTenOfF, kAll, {F}, false},
        // The focus does not hop: a key stays until two Reforço exercises running typed it right.
        {"one right Reforço keeps the key", {fWeak, fRight, Exercise({{J, 40, 20, 0}})}, kAll, {F, J}, false},
        {"a wrong Reforço starts the count again",
         {fWeak, fRight, fWrongInReforco, fRight, Exercise({{J, 40, 20, 0}})},
         kAll,
         {F, J},
         false},
        {"a key that cleared", {fWeak, fRight, fRight, Exercise({{J, 40, 20, 0}})}, kAll, {J}, false},
        {"a cleared key comes back only for slips after it",
         {fWeak, fRight, fRight, Exercise({{F, 40, 20, G}})},
         kAll,
         {F},
         false},
        {"a Reforço at the minimum clears",
         {fWeak, Exercise({{F, 100, 91, 0}}, true), Exercise({{F, 100, 91, 0}}, true)},
         kAll,
         {},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TReforcoChoice c = ChooseReforcoKeys(row.history, row.unlocked, 91);
        EXPECT_EQ(FocusOf(c), row.focus);
        EXPECT_EQ(!c.WhyNot.empty(), row.whyNot);
    }
    // What was typed in F's place, and how F went before, for the phrase and the result.
    const TReforcoChoice c = ChooseReforcoKeys(std::vector{fWeak}, kAll, 91);
    ASSERT_EQ(c.Focus.size(), 1u);
    EXPECT_EQ(c.Focus[0].Instead, G);
    EXPECT_EQ(c.Focus[0].Right, 30);
    EXPECT_EQ(c.Focus[0].Asked, 40);
    EXPECT_EQ(ChooseReforcoKeys(std::vector{fWeak}, Letters("ASDF"), 91).Focus.at(0).Instead,
              0); // G not taught
}

TEST(Reforco, Phrase) {
    std::set<std::string> list;
    for (const char* w : ReforcoWords()) {
        EXPECT_FALSE(ReforcoWordCodes(w).empty()) << w; // letters and ç only: no accented vowel
        EXPECT_TRUE(list.insert(w).second) << "twice: " << w;
    }
    auto focusOn = [](std::vector<TReforcoKey> keys) { return TReforcoChoice{std::move(keys), {}}; };
    struct Row {
        const char* name;
        TReforcoChoice choice;
        std::set<int> unlocked;
        int share; // focus keys per hundred letters, at least
        int lastKey;
        int withConfusion = 0;
        std::size_t phrases = 5; // different phrases in 40, at least
    };
    const std::vector<Row> rows = {
        {"F with G typed in its place", focusOn({{F, 40, 30, G}}), kAll, 15, Vk::Return, 30},
        {"the key right of L", focusOn({{Cc, 40, 30, 0}}), kAll, 10, Vk::Return},
        {"two keys", focusOn({{P, 40, 30, 0}, {Z, 40, 30, 0}}), kAll, 12, Vk::Return},
        {"the home row only", focusOn({{G, 40, 30, F}}), Letters("ASDFGHJKL;"), 10, Vk::Return, 20},
        {"before Enter is taught: one word and the space", focusOn({{F, 40, 30, 0}}),
         std::set<int>{A, 'S', 'D', F, Vk::Space}, 20, Vk::Space, 0, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::set<std::string> phrases;
        int focusKeys = 0;
        int letters = 0;
        int withConfusion = 0;
        std::string last;
        for (std::uint64_t seed = 1; seed <= 40; ++seed) {
            const TReforcoPhrase p = MakeReforcoPhrase(row.choice, row.unlocked, seed, last);
            ASSERT_FALSE(p.Codes.empty());
            EXPECT_NE(p.Text, last); // a new phrase each time
            last = p.Text;
            phrases.insert(p.Text);
            EXPECT_LE(p.Codes.size(), kReforcoMostKeysTyped);
            EXPECT_EQ(p.Codes.back(), row.lastKey);
            EXPECT_EQ(std::count(p.Codes.begin(), p.Codes.end(), row.lastKey), 1) << p.Text;
            for (const int c : p.Codes)
                EXPECT_TRUE(row.unlocked.count(c)) << p.Text << " has key " << c;
            // Every word from the list, spelled as it is typed.
            std::string word;
            for (const char ch : p.Text + ' ') {
                if (ch != ' ') {
                    word += ch == '\xE7' ? std::string("\xC3\xA7") : std::string(1, ch);
                    continue;
                }
                EXPECT_TRUE(list.count(word)) << word;
                word.clear();
            }
            for (const TReforcoKey& k : row.choice.Focus)
                withConfusion += k.Instead && std::count(p.Codes.begin(), p.Codes.end(), k.Instead) > 0;
            for (const int c : p.Codes) {
                letters += ReforcoCanPractise(c);
                for (const TReforcoKey& k : row.choice.Focus)
                    focusKeys += c == k.Key;
            }
        }
        EXPECT_GE(100 * focusKeys, row.share * letters) << focusKeys << " of " << letters;
        EXPECT_GE(withConfusion, row.withConfusion); // phrases of 40 that also hold the key typed instead
        EXPECT_GE(phrases.size(), row.phrases);
    }
    // The same seed, the same phrase; no words at all without the space.
    const TReforcoChoice f = focusOn({{F, 40, 30, G}});
    EXPECT_EQ(MakeReforcoPhrase(f, kAll, 7).Text, MakeReforcoPhrase(f, kAll, 7).Text);
    EXPECT_TRUE(MakeReforcoPhrase(f, std::set<int>{A, F}, 7).Codes.empty());
}

TEST(Reforco, PlanAndOutcome) {
    // 20 keys at 100 keys a minute: 15 times in 3 minutes.
    const TReforcoPlan plan = PlanReforco(20, 100.0, 91);
    EXPECT_EQ(plan.WordsToType, 15);
    EXPECT_NEAR(plan.ExpectedTime * 86400, 180, 1e-6);
    EXPECT_EQ(PlanReforco(21, 40.0, 93).WordsToType, 6);
    EXPECT_NEAR(PlanReforco(21, 40.0, 93).ExpectedTime * 86400, 190, 1e-6); // 189 s, up to 5 s
    EXPECT_EQ(PlanReforco(20, 5.0, 91).WordsToType, 3);                     // never fewer than three times

    TKeyTallies now(1);
    now[0].Key = F;
    now[0].Asked = 20;
    now[0].Right = 19;
    const TReforcoOutcome o = ReforcoOutcome({{F, 40, 28, G}, {Cc, 0, 0, 0}}, now, 1);
    EXPECT_EQ(o.Line, "F: 95% (antes 70%)   \xC3\x87: \xE2\x80\x94 (antes \xE2\x80\x94)");
    EXPECT_EQ(o.Spoken,
              "Tecla F: 95% de acerto agora, 70% antes. Tecla \xC3\x87: sem dados agora, sem dados antes.");
}

// A Reforço is a history line only: the lesson result file and the profile stay byte for byte, the
// line reads back as a Reforço with its keys, and the lesson's sums leave it out.
TEST(Reforco, StoredAsAHistoryLineOnly) {
    TestFolder data;
    const std::string profileBytes = "[Config]\r\nWordOK=12\r\nAulaAtual=12\r\n[Aula13]\r\nHabilitado=1\r\n";
    const std::string resultBytes = "[Config]\r\nWordOK=3\r\nCharOK=40\r\n";
    data.write("users/ana", profileBytes);
    data.write("aulas/aula13_ana.def", resultBytes);
    const std::string profile = data.file("users/ana");
    ASSERT_TRUE(StoreExercise(profile, 13, FinishedExercise(10, 0, 40, 2, 50), "2026-12-09T14:00:00-03:00"));
    const std::string afterLesson[] = {data.read("users/ana"), data.read("aulas/aula13_ana.def")};

    TExerciseState reforco = FinishedExercise(15, 1, 290, 10, 170);
    reforco.Slips.Add(Exercise({{F, 60, 55, G}}).Keys);
    ASSERT_TRUE(StoreReforco(profile, 13, reforco, "2026-12-09T14:05:31-03:00"));
    EXPECT_EQ(data.read("users/ana"), afterLesson[0]);
    EXPECT_EQ(data.read("aulas/aula13_ana.def"), afterLesson[1]);
    EXPECT_FALSE(data.exists("aulas/aula14_ana.def"));

    const THistory h = ReadHistoryFile(data.at("historico/ana.csv"));
    ASSERT_EQ(h.Entries.size(), 2u);
    EXPECT_FALSE(h.Entries[0].Reforco);
    EXPECT_TRUE(h.Entries[1].Reforco);
    ASSERT_EQ(h.Entries[1].Keys.size(), 1u);
    EXPECT_EQ(h.Entries[1].Keys[0].Right, 55);
    EXPECT_EQ(h.Sums[13].Exercises, 1); // the lesson's own exercise only
    EXPECT_EQ(h.Sums[13].KeysRight, 40);
    EXPECT_FALSE(data.exists("users/.ana.trava")); // the lock let go
}
