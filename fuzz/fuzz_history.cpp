// A history file as it may be found on disk: every entry read writes back to a line that reads the
// same, and the stream reader that keeps a few entries agrees with the reader of the whole text.
#include "core/exercise/history.h"
#include "scratch.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const THistory all = ParseHistory(bytes);
    FUZZ_CHECK(all.Total == static_cast<std::int64_t>(all.Entries.size()));
    for (const THistoryEntry& e : all.Entries) {
        FUZZ_CHECK(e.Lesson >= 1 && e.Lesson <= 24 && e.Percent >= 0 && e.Percent <= 100);
        const auto again = ParseHistoryLine(HistoryLine(e));
        FUZZ_CHECK(again && HistoryLine(*again) == HistoryLine(e));
    }
    const THistory kept = ReadHistoryFile(WriteScratch("historia.csv", bytes), 3);
    FUZZ_CHECK(kept.Problem.empty() && kept.Total == all.Total && kept.BadLines == all.BadLines);
    FUZZ_CHECK(kept.Entries.size() == std::min<std::size_t>(3, all.Entries.size()));
    for (std::size_t i = 0; i < kept.Entries.size(); ++i)
        FUZZ_CHECK(HistoryLine(kept.Entries[i]) ==
                   HistoryLine(all.Entries[all.Entries.size() - kept.Entries.size() + i]));
    FUZZ_CHECK(kept.KeySums.Exercises == all.KeySums.Exercises &&
               kept.KeySums.Keys.size() == all.KeySums.Keys.size());
    for (int n = 0; n <= 24; ++n)
        FUZZ_CHECK(kept.Sums[static_cast<std::size_t>(n)].KeysRight ==
                   all.Sums[static_cast<std::size_t>(n)].KeysRight);
    return 0;
}
