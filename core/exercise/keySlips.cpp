#include "core/exercise/keySlips.h"

#include "core/platform/keyboard.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::int64_t kMostKeyTimes = 10'000'000;
constexpr std::int64_t kMostKeyMs = kMostKeyTimes * kLongestKeyMs;

// A whole number of at most 18 digits (so sums of a few never overflow).
bool number(std::string_view text, std::int64_t& value) {
    if (text.empty() || text.size() > 18)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

void addConfusion(TKeySum& sum, TKeyTally& tally, std::uint8_t instead, std::int64_t times) {
    auto& list = sum.Confusions;
    const auto at =
        std::lower_bound(list.begin(), list.end(), std::pair{tally.Key, instead},
                         [](const TKeyConfusion& c, const std::pair<std::uint8_t, std::uint8_t>& k) {
                             return std::pair{c.Key, c.Instead} < k;
                         });
    std::int64_t total = times;
    if (at != list.end() && at->Key == tally.Key && at->Instead == instead)
        total = at->Times += times;
    else
        list.insert(at, TKeyConfusion{tally.Key, instead, times});
    // Ties keep the key that got there first.
    if (total > tally.InsteadTimes || tally.Instead == instead) {
        tally.Instead = instead;
        tally.InsteadTimes = total;
    }
}

// A key's counts added to its sum (what it was typed as instead is summed apart).
void addCounts(TKeyTally& sum, const TKeyTally& k) {
    sum.Asked += k.Asked;
    sum.Right += k.Right;
    sum.Swapped += k.Swapped;
    sum.Missed += k.Missed;
    sum.Transposed += k.Transposed;
    sum.Extra += k.Extra;
    sum.RightMs += k.RightMs;
}

} // namespace

std::string KeyTalliesText(const TKeyTallies& keys) {
    std::string out;
    out.reserve(keys.size() * 16);
    for (const TKeyTally& k : keys) {
        const std::int64_t n[] = {k.Asked,      k.Right, k.RightMs, k.Swapped,     k.Missed,
                                  k.Transposed, k.Extra, k.Instead, k.InsteadTimes};
        std::size_t last = 1; // key and times asked always
        for (std::size_t i = 0; i < std::size(n); ++i)
            if (n[i] != 0)
                last = i + 1;
        if (!out.empty())
            out += ' ';
        out += std::to_string(k.Key);
        for (std::size_t i = 0; i < last; ++i) {
            out += ':';
            out += std::to_string(n[i]);
        }
    }
    return out;
}

bool ParseKeyTallies(std::string_view text, TKeyTallies& out) {
    out.clear();
    if (text.empty())
        return true;
    out.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view group = text.substr(start, end - start);
        start = end + 1;
        std::int64_t n[10] = {};
        std::size_t count = 0;
        while (true) {
            const auto colon = group.find(':');
            if (count == std::size(n) || !number(group.substr(0, colon), n[count++]))
                return out.clear(), false;
            if (colon == std::string_view::npos)
                break;
            group.remove_prefix(colon + 1);
        }
        TKeyTally k;
        if (count < 2 || n[0] < 1 || n[0] > 255 || n[8] > 255 || (!out.empty() && n[0] <= out.back().Key))
            return out.clear(), false;
        k.Key = static_cast<std::uint8_t>(n[0]);
        k.Asked = n[1];
        k.Right = n[2];
        k.RightMs = n[3];
        k.Swapped = n[4];
        k.Missed = n[5];
        k.Transposed = n[6];
        k.Extra = n[7];
        k.Instead = static_cast<std::uint8_t>(n[8]);
        k.InsteadTimes = n[9];
        // More than an exercise can hold (256 keys a word, fewer than 40,000 words) is no exercise's:
        // the bounds also keep the sums of a million lines far from overflowing.
        bool bounded = true;
        for (std::size_t i = 1; i < std::size(n); ++i)
            bounded = bounded && n[i] <= (i == 3 ? kMostKeyMs : kMostKeyTimes);
        if (!bounded || k.Asked < 1 || k.Right + k.Wrong() != k.Asked || k.InsteadTimes > k.Swapped ||
            (k.Instead == 0) != (k.InsteadTimes == 0))
            return out.clear(), false;
        out.push_back(k);
    }
    return true;
}

void TKeySum::Add(const TKeyTallies& exercise) {
    if (exercise.empty())
        return;
    ++Exercises;
    std::size_t at = 0;
    for (const TKeyTally& k : exercise) {
        while (at < Keys.size() && Keys[at].Key < k.Key)
            ++at;
        if (at == Keys.size() || Keys[at].Key != k.Key)
            Keys.insert(Keys.begin() + static_cast<std::ptrdiff_t>(at), TKeyTally{.Key = k.Key});
        TKeyTally& s = Keys[at];
        addCounts(s, k);
        if (k.Instead != 0)
            addConfusion(*this, s, k.Instead, k.InsteadTimes);
    }
}

void TKeySum::Add(const TKeySum& other) {
    Exercises += other.Exercises;
    for (const TKeyTally& k : other.Keys) {
        const auto at = std::lower_bound(Keys.begin(), Keys.end(), k.Key,
                                         [](const TKeyTally& t, std::uint8_t key) { return t.Key < key; });
        addCounts(at != Keys.end() && at->Key == k.Key ? *at : *Keys.insert(at, TKeyTally{.Key = k.Key}), k);
    }
    for (const TKeyConfusion& c : other.Confusions) {
        const auto at = std::lower_bound(Keys.begin(), Keys.end(), c.Key,
                                         [](const TKeyTally& t, std::uint8_t key) { return t.Key < key; });
        addConfusion(*this, *at, c.Instead, c.Times);
    }
}

void AlignWord(std::span<const std::uint8_t> model, std::span<const std::uint8_t> typed,
               std::vector<TSlipStep>& steps) {
    steps.clear();
    const std::size_t n = model.size(), k = typed.size(), w = k + 1;
    // cost[i * w + j]: the fewest slips aligning model[i..] with typed[j..]; filled from the end, so the
    // walk below reads the word from its start.
    static thread_local std::vector<std::uint16_t> cost;
    cost.resize((n + 1) * w);
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint16_t& { return cost[i * w + j]; };
    const auto inverted = [&](std::size_t i, std::size_t j) {
        return i + 1 < n && j + 1 < k && model[i] == typed[j + 1] && model[i + 1] == typed[j] &&
               model[i] != model[i + 1];
    };
    for (std::size_t i = n + 1; i-- > 0;)
        for (std::size_t j = k + 1; j-- > 0;) {
            if (i == n || j == k) {
                at(i, j) = static_cast<std::uint16_t>((n - i) + (k - j));
                continue;
            }
            std::uint16_t best = static_cast<std::uint16_t>(at(i + 1, j + 1) + (model[i] != typed[j]));
            best = std::min<std::uint16_t>(best, static_cast<std::uint16_t>(at(i + 1, j) + 1));
            best = std::min<std::uint16_t>(best, static_cast<std::uint16_t>(at(i, j + 1) + 1));
            if (inverted(i, j))
                best = std::min<std::uint16_t>(best, static_cast<std::uint16_t>(at(i + 2, j + 2) + 1));
            at(i, j) = best;
        }
    const auto step = [&](SlipKind kind, std::size_t i, std::ptrdiff_t j) {
        steps.push_back({kind, static_cast<std::int16_t>(i), static_cast<std::int16_t>(j)});
    };
    std::size_t i = 0, j = 0;
    while (i < n || j < k) {
        const std::uint16_t here = at(i, j);
        if (i < n && j < k && model[i] == typed[j] && here == at(i + 1, j + 1)) {
            step(SlipKind::Right, i++, static_cast<std::ptrdiff_t>(j++));
        } else if (inverted(i, j) && here == at(i + 2, j + 2) + 1) {
            step(SlipKind::Transposed, i, static_cast<std::ptrdiff_t>(j + 1));
            step(SlipKind::Transposed, i + 1, static_cast<std::ptrdiff_t>(j));
            i += 2;
            j += 2;
        } else if (i < n && j < k && here == at(i + 1, j + 1) + 1) {
            step(SlipKind::Swapped, i++, static_cast<std::ptrdiff_t>(j++));
        } else if (i < n && here == at(i + 1, j) + 1) {
            step(SlipKind::Missed, i++, -1);
        } else {
            if (n > 0) // with no key asked there is nothing to put it on
                step(SlipKind::Extra, std::min(i, n - 1), static_cast<std::ptrdiff_t>(j));
            ++j;
        }
    }
}

void AddWordSlips(TKeySum& into, std::span<const std::uint8_t> model, std::span<const std::uint8_t> typed,
                  const std::uint32_t* ticks, std::uint32_t before, const std::vector<TSlipStep>& steps) {
    for (const TSlipStep& s : steps) {
        const std::uint8_t key = model[static_cast<std::size_t>(s.Model)];
        auto at = std::lower_bound(into.Keys.begin(), into.Keys.end(), key,
                                   [](const TKeyTally& t, std::uint8_t k) { return t.Key < k; });
        if (at == into.Keys.end() || at->Key != key)
            at = into.Keys.insert(at, TKeyTally{.Key = key});
        TKeyTally& t = *at;
        if (s.Kind == SlipKind::Extra) {
            ++t.Extra;
            continue;
        }
        ++t.Asked;
        switch (s.Kind) {
        case SlipKind::Right: {
            const auto j = static_cast<std::size_t>(s.Typed);
            const std::uint32_t since = ticks[j] - (j > 0 ? ticks[j - 1] : before); // a wrap is harmless
            ++t.Right;
            t.RightMs += std::min(since, kLongestKeyMs);
            break;
        }
        case SlipKind::Swapped:
            ++t.Swapped;
            addConfusion(into, t, typed[static_cast<std::size_t>(s.Typed)], 1);
            break;
        case SlipKind::Missed:
            ++t.Missed;
            break;
        default:
            ++t.Transposed;
            break;
        }
    }
}

std::string KeyName(int code, int layout) {
    switch (code) {
    case Vk::Space:
        return "Espaço";
    case Vk::Return:
        return "Enter";
    case Vk::Shift:
        return "Shift";
    case Vk::Back:
        return "Backspace";
    case Vk::Tab:
        return "Tab";
    case Vk::Capital:
        return "Caps Lock";
    case Vk::Control:
        return "Ctrl";
    case Vk::Menu:
        return "Alt";
    case Vk::Escape:
        return "Esc";
    default:
        break;
    }
    if (code >= Vk::F1 && code <= Vk::F12)
        return "F" + std::to_string(code - Vk::F1 + 1);
    if (const TKeyboardKey* key = KeyOfCode(code); key && key->OnScreen()) {
        std::string legend = layout == 1 ? key->AbntLegend() : key->legend;
        if (!legend.empty())
            return legend;
    }
    return "Tecla " + std::to_string(code);
}

double KeyErrorRate(const TKeyTally& key) {
    return key.Asked > 0 ? static_cast<double>(key.Wrong()) / static_cast<double>(key.Asked) : 0.0;
}

std::vector<TKeyTally> MostMissedKeys(const TKeyTallies& keys) {
    std::vector<TKeyTally> missed;
    for (const TKeyTally& k : keys)
        if (k.Wrong() > 0)
            missed.push_back(k);
    std::stable_sort(missed.begin(), missed.end(), [](const TKeyTally& a, const TKeyTally& b) {
        if (a.Wrong() != b.Wrong())
            return a.Wrong() > b.Wrong();
        if (KeyErrorRate(a) != KeyErrorRate(b))
            return KeyErrorRate(a) > KeyErrorRate(b);
        return a.Swapped > b.Swapped; // what was typed instead says the most
    });
    return missed;
}

std::string KeySlipsInShort(const TKeyTally& k, int layout) {
    const auto times = [](std::int64_t n) { return std::to_string(n) + (n == 1 ? " vez" : " vezes"); };
    std::vector<std::pair<std::int64_t, std::string>> kinds;
    if (k.Swapped > 0)
        kinds.emplace_back(k.Swapped, k.Swapped == k.InsteadTimes
                                          ? "digitou " + KeyName(k.Instead, layout)
                                          : "trocada (mais por " + KeyName(k.Instead, layout) + ")");
    if (k.Missed > 0)
        kinds.emplace_back(k.Missed, "esquecida");
    if (k.Transposed > 0)
        kinds.emplace_back(k.Transposed, "invertida");
    std::string text = times(k.Wrong());
    if (kinds.size() == 1)
        return text + ", " + kinds[0].second;
    for (std::size_t i = 0; i < kinds.size(); ++i)
        text += (i ? ", " : ": ") + kinds[i].second + ' ' + times(kinds[i].first);
    return text;
}

std::string MostMissedLine(const TKeyTallies& keys, int layout) {
    const auto missed = MostMissedKeys(keys);
    if (missed.empty())
        return keys.empty() ? std::string() : "Nenhuma tecla errada neste exercício.";
    std::string line = missed.size() == 1 ? "Tecla errada: " : "Teclas mais erradas: ";
    for (std::size_t i = 0; i < missed.size() && i < 3; ++i)
        line += (i ? ", " : "") + KeyName(missed[i].Key, layout) + " (" + KeySlipsInShort(missed[i], layout) +
                ")";
    return line + ".";
}
