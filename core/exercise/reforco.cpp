#include "core/exercise/reforco.h"

#include "core/platform/keyboard.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// The figures of one key over the recent exercises.
struct Figures {
    std::int64_t Asked = 0;
    std::int64_t Right = 0;
    std::map<std::uint8_t, std::int64_t> Instead; // key typed in its place, how often
    std::int64_t Wrong() const { return Asked - Right; }
};
using Window = std::map<std::uint8_t, Figures>;
// Where a key cleared from the focus: only what was typed after it counts for it again, so that the
// exercises it was weak in do not bring it straight back.
using Cleared = std::map<std::uint8_t, std::size_t>;

// The keys' figures over the latest kReforcoRecent exercises with key data before `end`.
Window recentFigures(std::span<const THistoryEntry> history, std::size_t end, const Cleared& cleared) {
    Window window;
    std::size_t taken = 0;
    for (std::size_t i = end; i-- > 0 && taken < kReforcoRecent;) {
        const THistoryEntry& e = history[i];
        if (e.Keys.empty())
            continue;
        ++taken;
        for (const TKeyTally& t : e.Keys) {
            const auto c = cleared.find(t.Key);
            if (c != cleared.end() && i <= c->second)
                continue;
            Figures& f = window[t.Key];
            f.Asked += t.Asked;
            f.Right += std::min(t.Right, t.Asked);
            if (t.Instead != 0 && t.InsteadTimes > 0)
                f.Instead[t.Instead] += t.InsteadTimes;
        }
    }
    return window;
}

// A share of slips above another's: compared as fractions, whole numbers only.
bool weaker(const Figures& a, const Figures& b) {
    return a.Wrong() * b.Asked > b.Wrong() * a.Asked;
}

// The keys that may be chosen, typed right below the minimum: weakest first, ties by more slips, then
// by key.
std::vector<std::uint8_t> ranking(const Window& window, const std::set<int>& unlocked, int minimumPercent) {
    std::vector<std::uint8_t> keys;
    for (const auto& [key, f] : window)
        if (ReforcoCanPractise(key) && unlocked.count(key) && f.Asked >= kReforcoMinAsked &&
            100 * f.Right < std::int64_t{minimumPercent} * f.Asked)
            keys.push_back(key);
    std::stable_sort(keys.begin(), keys.end(), [&window](std::uint8_t a, std::uint8_t b) {
        const Figures& fa = window.at(a);
        const Figures& fb = window.at(b);
        if (weaker(fa, fb) || weaker(fb, fa))
            return weaker(fa, fb);
        return fa.Wrong() > fb.Wrong();
    });
    return keys;
}

// The focus kept, then filled up from the ranking with keys at half the weakest key's share or more.
std::vector<std::uint8_t> refill(std::vector<std::uint8_t> focus, const Window& window,
                                 const std::set<int>& unlocked, int minimumPercent) {
    std::erase_if(focus, [&unlocked](std::uint8_t k) { return !unlocked.count(k); });
    const std::vector<std::uint8_t> ranked = ranking(window, unlocked, minimumPercent);
    if (ranked.empty())
        return focus;
    const Figures& top = window.at(ranked.front());
    for (const std::uint8_t key : ranked) {
        if (focus.size() >= kReforcoMostKeys)
            break;
        const Figures& f = window.at(key);
        if (std::find(focus.begin(), focus.end(), key) == focus.end() &&
            2 * f.Wrong() * top.Asked >= top.Wrong() * f.Asked)
            focus.push_back(key);
    }
    return focus;
}

const TKeyTally* tallyOf(const TKeyTallies& tallies, std::uint8_t key) {
    for (const TKeyTally& t : tallies)
        if (t.Key == key)
            return &t;
    return nullptr;
}

// A small generator of its own, so that a seed makes the same phrase with every compiler's library.
struct SplitMix {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n ? static_cast<std::size_t>(next() % n) : 0; }
};

struct Word {
    std::string Text; // Windows-1252
    std::vector<int> Codes;
    int Weight = 1;
    int Score = 0; // focus keys three times, keys typed in their place twice
};

std::string percentText(std::int64_t right, std::int64_t asked) {
    return asked > 0 ? std::to_string(100 * right / asked) + "%" : std::string("\xE2\x80\x94");
}

} // namespace

bool ReforcoCanPractise(int key) {
    return (key >= 'A' && key <= 'Z') || key == Vk::RightOfL;
}

TReforcoChoice ChooseReforcoKeys(std::span<const THistoryEntry> history, const std::set<int>& unlocked,
                                 int minimumPercent) {
    // The history is replayed: each Reforço is judged against the focus as it stood before it.
    std::vector<std::uint8_t> focus;
    std::map<std::uint8_t, int> streak;
    Cleared cleared;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const THistoryEntry& e = history[i];
        if (!e.Reforco || e.Keys.empty())
            continue;
        focus = refill(focus, recentFigures(history, i, cleared), unlocked, minimumPercent);
        for (const std::uint8_t key : focus) {
            const TKeyTally* t = tallyOf(e.Keys, key);
            const bool right = t && t->Asked > 0 && 100 * t->Right >= std::int64_t{minimumPercent} * t->Asked;
            streak[key] = right ? streak[key] + 1 : 0;
            if (streak[key] >= 2)
                cleared[key] = i;
        }
        std::erase_if(focus, [&](std::uint8_t k) {
            if (streak[k] < 2)
                return false;
            streak.erase(k);
            return true;
        });
    }
    const Window window = recentFigures(history, history.size(), cleared);
    focus = refill(focus, window, unlocked, minimumPercent);

    TReforcoChoice choice;
    for (const std::uint8_t key : focus) {
        TReforcoKey k;
        k.Key = key;
        if (const auto f = window.find(key); f != window.end()) {
            k.Asked = f->second.Asked;
            k.Right = f->second.Right;
            std::int64_t most = 0;
            for (const auto& [instead, times] : f->second.Instead)
                if (times > most && unlocked.count(instead)) {
                    most = times;
                    k.Instead = instead;
                }
        }
        choice.Focus.push_back(k);
    }
    if (!choice.Focus.empty())
        return choice;
    const bool anyData =
        std::any_of(history.begin(), history.end(), [](const THistoryEntry& e) { return !e.Keys.empty(); });
    const bool enough = std::any_of(window.begin(), window.end(), [&unlocked](const auto& kf) {
        return ReforcoCanPractise(kf.first) && unlocked.count(kf.first) &&
               kf.second.Asked >= kReforcoMinAsked;
    });
    choice.WhyNot =
        !anyData ? "O Reforço treina as teclas que você\nmais erra. Faça uma aula para que\n"
                   "o curso conheça as suas teclas."
        : !enough
            ? "Ainda há poucas teclas digitadas\npara saber quais você mais erra.\n"
              "Faça mais uma aula."
            : "Nenhuma tecla ficou abaixo do\nmínimo nas últimas aulas.\nParabéns! Não há o que reforçar.";
    return choice;
}

std::vector<int> ReforcoWordCodes(const std::string& utf8Word) {
    std::vector<int> codes;
    for (std::size_t i = 0; i < utf8Word.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8Word[i]);
        if (c >= 'a' && c <= 'z')
            codes.push_back(c - 'a' + 'A');
        else if (c == 0xC3 && i + 1 < utf8Word.size() &&
                 static_cast<unsigned char>(utf8Word[i + 1]) == 0xA7) {
            codes.push_back(Vk::RightOfL);
            ++i;
        } else
            return {};
    }
    return codes;
}

TReforcoPhrase MakeReforcoPhrase(const TReforcoChoice& choice, const std::set<int>& unlocked,
                                 std::uint64_t seed, const std::string& avoid) {
    std::set<int> focus;
    std::set<int> confused;
    for (const TReforcoKey& k : choice.Focus)
        focus.insert(k.Key);
    for (const TReforcoKey& k : choice.Focus)
        if (k.Instead != 0 && !focus.count(k.Instead) && ReforcoCanPractise(k.Instead))
            confused.insert(k.Instead);

    const bool lines = unlocked.count(Vk::Return) > 0;
    // Before Enter is taught the phrase is one word closed by the space, as the first lessons' groups.
    const std::size_t room = lines ? kReforcoMostKeysTyped - 1 : 8;
    std::vector<Word> words;
    for (const char* w : ReforcoWords()) {
        Word word;
        word.Codes = ReforcoWordCodes(w);
        if (word.Codes.empty() || word.Codes.size() > room ||
            !std::all_of(word.Codes.begin(), word.Codes.end(), [&](int c) { return unlocked.count(c) > 0; }))
            continue;
        for (const int c : word.Codes) {
            word.Score += focus.count(c) ? 3 : confused.count(c) ? 2 : 0;
            word.Text += c == Vk::RightOfL ? '\xE7' : static_cast<char>(c - 'A' + 'a');
        }
        word.Weight = 1 + 4 * word.Score;
        words.push_back(std::move(word));
    }
    if (words.empty() || !unlocked.count(Vk::Space))
        return {};

    SplitMix random{seed};
    std::vector<int> upTo; // the weights added up, for a draw by weight
    upTo.reserve(words.size());
    int total = 0;
    for (const Word& w : words)
        upTo.push_back(total += w.Weight);
    auto draw = [&]() -> const Word& {
        const auto at = static_cast<int>(random.below(static_cast<std::size_t>(total)));
        return words[static_cast<std::size_t>(std::upper_bound(upTo.begin(), upTo.end(), at) - upTo.begin())];
    };

    // Many phrases are drawn; one of the richest in the focus keys is taken, at random among them, so
    // that a Reforço does not always bring the same words.
    struct Candidate {
        std::vector<const Word*> Words;
        int Score = 0;
        std::string Text;
    };
    std::vector<Candidate> candidates;
    for (int attempt = 0; attempt < 64; ++attempt) {
        Candidate c;
        std::size_t used = 0;
        // Words are drawn until a few draws in a row no longer fit in what is left of the line.
        for (int misses = 0; misses < 24 && (lines || c.Words.empty());) {
            const Word& w = draw();
            if (used + (used ? 1 : 0) + w.Codes.size() > room ||
                std::find(c.Words.begin(), c.Words.end(), &w) != c.Words.end()) {
                ++misses;
                continue;
            }
            misses = 0;
            used += (used ? 1 : 0) + w.Codes.size();
            c.Words.push_back(&w);
            c.Score += w.Score;
            c.Text += (c.Text.empty() ? "" : " ") + w.Text;
        }
        // The key typed in a focus key's place is worth most beside it: the two told apart in one phrase.
        for (const TReforcoKey& k : choice.Focus) {
            auto has = [&c](int key) {
                return std::any_of(c.Words.begin(), c.Words.end(), [key](const Word* w) {
                    return std::find(w->Codes.begin(), w->Codes.end(), key) != w->Codes.end();
                });
            };
            if (confused.count(k.Instead) && has(k.Key) && has(k.Instead))
                c.Score += 4;
        }
        candidates.push_back(std::move(c));
    }
    int best = 0;
    for (const Candidate& c : candidates)
        if (c.Text != avoid)
            best = std::max(best, c.Score);
    std::vector<const Candidate*> good;
    for (const Candidate& c : candidates)
        if (c.Text != avoid && 5 * c.Score >= 4 * best)
            good.push_back(&c);
    const Candidate& chosen = good.empty() ? candidates.front() : *good[random.below(good.size())];

    TReforcoPhrase phrase;
    phrase.Text = chosen.Text;
    for (const Word* w : chosen.Words) {
        if (!phrase.Codes.empty())
            phrase.Codes.push_back(Vk::Space);
        phrase.Codes.insert(phrase.Codes.end(), w->Codes.begin(), w->Codes.end());
    }
    phrase.Codes.push_back(lines ? Vk::Return : Vk::Space);
    return phrase;
}

TReforcoPlan PlanReforco(std::size_t phraseKeys, double lessonKeysPerMinute, int minimumPercent) {
    TReforcoPlan plan;
    plan.MinimumPercent = minimumPercent;
    const double keys = static_cast<double>(std::max<std::size_t>(phraseKeys, 1));
    const double pace = lessonKeysPerMinute > 1.0 ? lessonKeysPerMinute : 40.0;
    plan.WordsToType = std::max(3, static_cast<int>(std::lround(kReforcoMinutes * pace / keys)));
    const double seconds = plan.WordsToType * keys * 60.0 / pace;
    plan.ExpectedTime = std::ceil(seconds / 5.0 - 1e-9) * 5.0 / 86400.0;
    return plan;
}

TReforcoOutcome ReforcoOutcome(const std::vector<TReforcoKey>& focus, const TKeyTallies& now, int layout) {
    TReforcoOutcome out;
    for (const TReforcoKey& k : focus) {
        const TKeyTally* t = tallyOf(now, k.Key);
        const std::string name = KeyName(k.Key, layout);
        const std::string nowText =
            t ? percentText(std::min(t->Right, t->Asked), t->Asked) : percentText(0, 0);
        const std::string before = percentText(k.Right, k.Asked);
        out.Line.append(out.Line.empty() ? "" : "   ").append(name).append(": ").append(nowText);
        out.Line.append(" (antes ").append(before).append(")");
        out.Spoken += (out.Spoken.empty() ? "Tecla " : " Tecla ") + name + ": ";
        out.Spoken += t && t->Asked > 0 ? nowText + " de acerto agora, " : std::string("sem dados agora, ");
        out.Spoken += k.Asked > 0 ? before + " antes." : std::string("sem dados antes.");
    }
    return out;
}
