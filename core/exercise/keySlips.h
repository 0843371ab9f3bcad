#pragma once
#include <cstdint>
#include <vector>

// Which keys went wrong in an exercise, and how. The course's judging compares a word position by
// position and counts right and wrong keys; this only records, for teaching: at the end of each word the
// typed word is aligned with the model word and each slip is named by the key asked and its kind.
// Keys are virtual-key codes, so a physical key is one entry whatever the layout; Shift is a key of its
// own.

struct TKeyTally {
    std::uint8_t Key = 0;          // the key asked
    std::int64_t Asked = 0;        // times the model asked for it
    std::int64_t Right = 0;        // typed right in its place
    std::int64_t Swapped = 0;      // "trocada": another key typed in its place
    std::int64_t Missed = 0;       // "esquecida": not typed
    std::int64_t Transposed = 0;   // "invertida": typed in its neighbour's place and the neighbour in its
    std::int64_t Extra = 0;        // "a mais": an extra key typed, put on this key
    std::uint8_t Instead = 0;      // the key most often typed in its place; 0: none
    std::int64_t InsteadTimes = 0; // how often that was
    std::int64_t RightMs = 0;      // the time before each right key, added up

    std::int64_t Wrong() const { return Swapped + Missed + Transposed; }
};

// One entry per key asked at least once, ordered by key.
using TKeyTallies = std::vector<TKeyTally>;
