// Adding an exercise to a lesson result file as it may be found on disk: what is written can always
// be read back, so the next exercise records too.
#include "core/exercise/lessonResult.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "scratch.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TExerciseState state;
    state.WordsRight = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
    state.WordsWrong = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
    state.LettersRight = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
    state.LettersWrong = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
    state.FinalElapsed = in.ConsumeProbability<double>();
    const std::string file = PathToUtf8(WriteScratch("aula1_ana.def", in.ConsumeRemainingBytesAsString()));
    try {
        AccumulateResults(file, state);
    } catch (const VtError&) {
        return 0; // a stored value that is not a number: reported, as before
    }
    // Everything now stored was written by the program: a second exercise must go through.
    AccumulateResults(file, state);
    SelectSettingsFile(file);
    // A value that does not read back escapes as an exception, which libFuzzer reports.
    for (const char* key : {keys::WordOK, keys::WordErr, keys::CharOK, keys::CharErr})
        (void)StrToInt(ReadSetting(keys::Config, key, "x"));
    (void)StrToTime(ReadSetting(keys::Config, keys::TempoTotal, "x"));
    (void)StrToInt(ReadSetting(keys::Config, keys::Porcent, "x"));
    return 0;
}
