#pragma once
#include "core/exercise/keySlips.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

struct TExerciseState;

// A student's exercise history: one line per recorded exercise, appended by the result window and read
// by the class report. The profile and the lesson result files keep only running totals; this keeps
// every exercise, so progress can be drawn over time. A separate file per student, so the course's
// files stay exactly as they are.
//
// Format: UTF-8 text (its contents are ASCII), CR LF, ";" between fields, a header line first:
//   data_hora;aula;palavras_certas;palavras_erradas;teclas_certas;teclas_erradas;segundos;acerto;aprovada;reforco;teclas;formato_2
//   2026-12-09T14:05:31-03:00;3;10;0;40;2;50;95;1;0;32:10:10:2210 65:10:9:2900:1:0:0:0:83:1
// Whole numbers only, so a spreadsheet in any language reads it as it stands; "teclas" is the exercise's
// slips by key (KeyTalliesText). The header's last name gives the format's version: files written
// before it have none, the first format ("formato_1") has the first nine fields only, and its lines keep
// being read alongside the later ones (they have no key data). A later version may add fields at the
// end of a line, named in its header before its own "formato_N": this reader ignores them.

inline constexpr const char* kHistoryFolder = "historico";
inline constexpr const char* kHistoryHeader =
    "data_hora;aula;palavras_certas;palavras_erradas;teclas_certas;teclas_erradas;segundos;acerto;aprovada;"
    "reforco;teclas;formato_2";

struct THistoryEntry {
    std::string When; // ISO 8601 local time with its offset from UTC
    int Lesson = 0;
    std::int64_t WordsRight = 0;
    std::int64_t WordsWrong = 0;
    std::int64_t KeysRight = 0;
    std::int64_t KeysWrong = 0;
    std::int64_t Seconds = 0; // as the clock shows the time taken: milliseconds rounded, then dropped
    int Percent = 0;          // right keys of this exercise, rounded down
    bool Passed = false;
    bool Reforco = false; // a practice of the student's weak keys, not a lesson: kept out of its totals
    TKeyTallies Keys;     // the exercise's slips by key; empty where the line has none

    // Keys right and wrong over the minutes taken; 0 when no time was taken.
    double KeysPerMinute() const;
};

// data folder + "historico" + student name + ".csv"
std::filesystem::path HistoryFileIn(const std::filesystem::path& dataFolder, const std::string& studentName);

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);

// "2026-12-09T14:05:31-03:00" for the local time of `moment`.
std::string IsoLocalTime(std::time_t moment);

// The entry of a finished exercise of lesson N, as the result window judged it.
THistoryEntry HistoryEntryOf(const TExerciseState& state, int lessonNumber, const std::string& when);

std::string HistoryLine(const THistoryEntry& entry); // without the line end, in the later format
// A line of either format. A tenth field other than 0 or 1 makes no line; key data that cannot be read
// leaves the entry without key data, its totals kept.
std::optional<THistoryEntry> ParseHistoryLine(const std::string& line);

// Adds one line to the file, making the file (with its header) and its folder (one level) as needed.
// The line goes at the end in one write, whole or not at all; the rest of the file is left as it is.
bool AppendHistoryEntry(const std::filesystem::path& file, const THistoryEntry& entry);
// The same with the line as HistoryLine made it (a store's journal keeps the line as text).
bool AppendHistoryLine(const std::filesystem::path& file, const std::string& line);

// The largest number a history field may hold; a line with a larger one is a bad line.
inline constexpr std::int64_t kHistoryFieldMax = 1'000'000'000;

// a + b, held at the largest (or smallest) int64 instead of wrapping.
constexpr std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t least = std::numeric_limits<std::int64_t>::min();
    if (b > 0 && a > most - b)
        return most;
    if (b < 0 && a < least - b)
        return least;
    return a + b;
}

// The exercises of one lesson added up over the whole history. The sums saturate: a time never turns
// negative, however many lines a history holds.
struct THistorySum {
    std::int64_t Exercises = 0;
    std::int64_t KeysRight = 0;
    std::int64_t KeysWrong = 0;
    std::int64_t Seconds = 0;

    void Add(const THistoryEntry& e) { Add({1, e.KeysRight, e.KeysWrong, e.Seconds}); }
    void Add(const THistorySum& s) {
        Exercises = SaturatingAdd(Exercises, s.Exercises);
        KeysRight = SaturatingAdd(KeysRight, s.KeysRight);
        KeysWrong = SaturatingAdd(KeysWrong, s.KeysWrong);
        Seconds = SaturatingAdd(Seconds, s.Seconds);
    }
};

// What the report keeps of a history: read line by line, so a history of any length costs the same
// memory; the charts draw the latest exercises only.
inline constexpr std::size_t kHistoryKept = 500;
struct THistory {
    bool Missing = false; // no history file: the student has no recorded exercise since it began
    std::string Problem;  // why the file could not be read (UTF-8, Portuguese); empty when it could
    std::vector<THistoryEntry> Entries; // the last kHistoryKept readable entries, oldest first
    std::int64_t Total = 0;             // every readable entry
    std::string FirstWhen;              // of the first readable entry
    std::array<THistorySum, 25> Sums{}; // [lesson] over every readable lesson entry (0 unused; no Reforço)
    THistorySum Reforcos;               // over every readable Reforço entry
    TKeySum KeySums;                    // the slips by key over every readable entry with key data
    std::int64_t BadLines = 0;          // lines that are not a history line, left out

    void AddLine(const std::string& line);
};
// The largest history read (as a stream, so memory stays flat whatever it holds): some 200,000 exercises
// with their key data (about 300 bytes a line), more than ten school years of a student's.
inline constexpr std::uintmax_t kLargestHistoryFile = std::uintmax_t{64} * 1024 * 1024;
// `each` sees every readable entry in the file's order, for what the kept ones cannot tell.
THistory ReadHistoryFile(const std::filesystem::path& file, std::size_t kept = kHistoryKept,
                         const std::function<void(const THistoryEntry&)>& each = {});
THistory ParseHistory(const std::string& text);
