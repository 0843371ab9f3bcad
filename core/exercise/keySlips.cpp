#include "core/exercise/keySlips.h"

#include <algorithm>
#include <charconv>

namespace {

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
        if (k.Asked < 1 || k.Right + k.Wrong() != k.Asked || k.InsteadTimes > k.Swapped ||
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
        s.Asked += k.Asked;
        s.Right += k.Right;
        s.Swapped += k.Swapped;
        s.Missed += k.Missed;
        s.Transposed += k.Transposed;
        s.Extra += k.Extra;
        s.RightMs += k.RightMs;
        if (k.Instead != 0)
            addConfusion(*this, s, k.Instead, k.InsteadTimes);
    }
}

void TKeySum::Add(const TKeySum& other) {
    Exercises += other.Exercises;
    for (const TKeyTally& k : other.Keys) {
        const auto at = std::lower_bound(Keys.begin(), Keys.end(), k.Key,
                                         [](const TKeyTally& t, std::uint8_t key) { return t.Key < key; });
        TKeyTally& s = at != Keys.end() && at->Key == k.Key ? *at : *Keys.insert(at, TKeyTally{.Key = k.Key});
        s.Asked += k.Asked;
        s.Right += k.Right;
        s.Swapped += k.Swapped;
        s.Missed += k.Missed;
        s.Transposed += k.Transposed;
        s.Extra += k.Extra;
        s.RightMs += k.RightMs;
    }
    for (const TKeyConfusion& c : other.Confusions) {
        const auto at = std::lower_bound(Keys.begin(), Keys.end(), c.Key,
                                         [](const TKeyTally& t, std::uint8_t key) { return t.Key < key; });
        addConfusion(*this, *at, c.Instead, c.Times);
    }
}
