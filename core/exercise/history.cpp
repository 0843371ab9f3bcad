#include "core/exercise/history.h"

#include "core/exercise/exerciseState.h"
#include "core/exercise/judging.h"
#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "core/platform/tickCounter.h"
#include "core/storage/convert.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// A field above kHistoryFieldMax makes the line a bad one: no exercise takes a billion keys or seconds,
// and sums of bounded fields stay far from overflowing.
std::optional<std::int64_t> number(std::string_view text) {
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > kHistoryFieldMax)
        return std::nullopt;
    return value;
}

// The first nine fields of a line, views into it; `count` tells how many there are (fewer when the line
// has fewer), `later` what follows the ninth field's ";" (none: the first format). No allocation: a long
// history is read line by line at this cost.
struct Fields {
    std::string_view at[9];
    std::size_t count = 0;
    std::optional<std::string_view> later;
};
Fields fields(std::string_view line) {
    Fields out;
    std::size_t start = 0;
    while (out.count < 9) {
        const auto semi = line.find(';', start);
        out.at[out.count++] =
            line.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
        if (semi == std::string_view::npos)
            break;
        start = semi + 1;
        if (out.count == 9)
            out.later = line.substr(start);
    }
    return out;
}

// The later format's fields after the ninth: "reforco;teclas", and whatever a later version adds.
bool readLaterFields(std::string_view later, THistoryEntry& e) {
    const auto semi = later.find(';');
    const std::string_view reforco = later.substr(0, semi);
    if (reforco != "0" && reforco != "1")
        return false;
    e.Reforco = reforco == "1";
    if (semi != std::string_view::npos) {
        std::string_view keys = later.substr(semi + 1);
        keys = keys.substr(0, keys.find(';'));
        ParseKeyTallies(keys, e.Keys); // unreadable: no key data, the rest of the line stands
    }
    return true;
}

bool startsWithLocalTime(std::string_view text) {
    // yyyy-mm-ddThh:mm:ss; what follows (the offset the course writes, +hh:mm or -hh:mm) is not
    // looked at, so a time from elsewhere with any ending is taken as it stands.
    static const char pattern[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() < 19)
        return false;
    for (std::size_t i = 0; i < 19; ++i)
        if (pattern[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != pattern[i])
            return false;
    return true;
}

} // namespace

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

double THistoryEntry::KeysPerMinute() const {
    return Seconds > 0 ? static_cast<double>(KeysRight + KeysWrong) * 60.0 / static_cast<double>(Seconds)
                       : 0.0;
}

fs::path HistoryFileIn(const fs::path& dataFolder, const std::string& studentName) {
    return dataFolder / kHistoryFolder / PathFromUtf8(studentName + ".csv");
}

std::string IsoLocalTime(std::time_t moment) {
    const std::tm local = LocalTime(moment);
    // The offset is what the local fields say minus the moment itself.
    const std::int64_t asUtc = DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                             static_cast<unsigned>(local.tm_mday)) *
                                   86400 +
                               std::int64_t{local.tm_hour} * 3600 + std::int64_t{local.tm_min} * 60 +
                               local.tm_sec;
    const std::int64_t offsetMinutes = (asUtc - static_cast<std::int64_t>(moment)) / 60;
    const std::int64_t magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  offsetMinutes < 0 ? '-' : '+', static_cast<int>(magnitude / 60),
                  static_cast<int>(magnitude % 60));
    return text;
}

THistoryEntry HistoryEntryOf(const TExerciseState& state, int lessonNumber, const std::string& when) {
    THistoryEntry e;
    e.When = when;
    e.Lesson = lessonNumber;
    e.WordsRight = state.WordsRight;
    e.WordsWrong = state.WordsWrong;
    e.KeysRight = state.LettersRight;
    e.KeysWrong = state.LettersWrong;
    e.Seconds = std::llround(state.FinalElapsed * 86400000.0) / 1000;
    e.Percent = RightPercentage(state);
    e.Passed = LessonPassed(state);
    e.Keys = state.Slips.Keys;
    return e;
}

std::string HistoryLine(const THistoryEntry& e) {
    return e.When + ';' + std::to_string(e.Lesson) + ';' + std::to_string(e.WordsRight) + ';' +
           std::to_string(e.WordsWrong) + ';' + std::to_string(e.KeysRight) + ';' +
           std::to_string(e.KeysWrong) + ';' + std::to_string(e.Seconds) + ';' + std::to_string(e.Percent) +
           ';' + (e.Passed ? '1' : '0') + ';' + (e.Reforco ? '1' : '0') + ';' + KeyTalliesText(e.Keys);
}

std::optional<THistoryEntry> ParseHistoryLine(const std::string& line) {
    const Fields parts = fields(line);
    const auto& f = parts.at;
    if (parts.count != 9 || !startsWithLocalTime(f[0]))
        return std::nullopt;
    std::int64_t n[8];
    for (int i = 0; i < 8; ++i) {
        const auto v = number(f[static_cast<std::size_t>(i) + 1]);
        if (!v)
            return std::nullopt;
        n[i] = *v;
    }
    if (n[0] < 1 || n[0] > 24 || n[6] > 100 || n[7] > 1)
        return std::nullopt;
    THistoryEntry e;
    e.When = std::string(f[0]);
    e.Lesson = static_cast<int>(n[0]);
    e.WordsRight = n[1];
    e.WordsWrong = n[2];
    e.KeysRight = n[3];
    e.KeysWrong = n[4];
    e.Seconds = n[5];
    e.Percent = static_cast<int>(n[6]);
    e.Passed = n[7] == 1;
    if (parts.later && !readLaterFields(*parts.later, e))
        return std::nullopt;
    return e;
}

bool AppendHistoryEntry(const fs::path& file, const THistoryEntry& entry) {
    return AppendHistoryLine(file, HistoryLine(entry));
}

bool AppendHistoryLine(const fs::path& file, const std::string& line) {
    if (!MakeDataFolder(file.parent_path()))
        return false;
    // One line added in one write: a long history is never read nor rewritten for it. A last line cut
    // short stays a line of its own; one ended by a bare CR gets its LF.
    return AppendToFile(file, line + "\r\n", std::string(kHistoryHeader) + "\r\n", [](char last) {
        return std::string(last == '\n' ? "" : last == '\r' ? "\n" : "\r\n");
    });
}

void THistory::AddLine(const std::string& line) {
    // The header, of this version or of a later one with more fields.
    if (line.empty() || (Total == 0 && BadLines == 0 && line.rfind("data_hora;aula;", 0) == 0))
        return;
    auto e = ParseHistoryLine(line);
    if (!e) {
        ++BadLines;
        return;
    }
    if (Total++ == 0)
        FirstWhen = e->When;
    KeySums.Add(e->Keys);
    // A practice of weak keys is no exercise of its lesson: Reforço exercises are added up apart.
    THistorySum& sum = e->Reforco ? Reforcos : Sums[static_cast<std::size_t>(e->Lesson)];
    sum.Add(*e);
    Entries.push_back(std::move(*e));
}

namespace {
// Keeps the last `kept` entries: the vector grows to twice that, then its older half goes.
void trim(THistory& h, std::size_t kept, bool final) {
    if (h.Entries.size() >= 2 * kept || (final && h.Entries.size() > kept))
        h.Entries.erase(h.Entries.begin(), h.Entries.end() - static_cast<std::ptrdiff_t>(kept));
}
} // namespace

THistory ParseHistory(const std::string& text) {
    THistory h;
    for (const std::string& line : TextLines(text))
        h.AddLine(line);
    return h;
}

THistory ReadHistoryFile(const fs::path& file, std::size_t kept,
                         const std::function<void(const THistoryEntry&)>& each) {
    THistory h;
    std::error_code ec;
    if (fs::symlink_status(file, ec).type() == fs::file_type::not_found) {
        h.Missing = true;
        return h;
    }
    kept = std::max<std::size_t>(kept, 1);
    // Read as a stream from the data folder's own handle: never through a link, never a FIFO.
    std::string line;
    const auto add = [&] {
        const std::int64_t before = h.Total;
        h.AddLine(line);
        if (each && h.Total != before)
            each(h.Entries.back());
    };
    const auto lines = [&](const char* bytes, std::size_t n) {
        // A line at a time, not a byte at a time: a class's histories with key data are tens of MiB.
        for (std::size_t i = 0; i < n;) {
            const auto* end = static_cast<const char*>(std::memchr(bytes + i, '\n', n - i));
            const std::size_t stop = end ? static_cast<std::size_t>(end - bytes) : n;
            line.append(bytes + i, stop - i);
            if (!end)
                break;
            i = stop + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            add();
            trim(h, kept, false);
            line.clear();
        }
    };
    int error = 0;
    if (!ReadDataFile(file, &error, kLargestHistoryFile, lines)) {
        h = THistory{};
        h.Problem = error == EFBIG ? "O histórico é grande demais para ser lido (mais de " +
                                         std::to_string(kLargestHistoryFile >> 20) + " MiB)"
                                   : "O histórico não pôde ser lido: " + SystemErrorTextPt(error);
        return h;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    add();
    trim(h, kept, true);
    return h;
}
