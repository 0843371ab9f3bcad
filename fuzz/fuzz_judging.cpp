// The judging of keys and words against any model, keys in any order: counters stay consistent and
// the statistics block is always whole; the echo's steps stay inside its box.
#include "core/exercise/echo.h"
#include "core/exercise/judging.h"
#include "scratch.h"

#include <algorithm>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TExerciseState state;
    const std::string model = in.ConsumeRandomLengthString(300);
    for (std::size_t i = 0; i < model.size() && i < MaxLessonCodes; ++i)
        state.ModelCodes[i] = static_cast<std::uint8_t>(model[i]);
    state.ModelLength = in.ConsumeIntegralInRange<std::int32_t>(-2, 300);
    state.WordsToType = in.ConsumeIntegral<std::int32_t>();
    state.MinimumPercent = in.ConsumeIntegral<std::int32_t>();
    state.ExpectedTime = in.ConsumeFloatingPoint<double>();
    StartExercise(state, in.ConsumeProbability<double>());
    std::int32_t toggle = in.ConsumeIntegralInRange<std::int32_t>(0, 1);
    int sounds = 0;
    const SoundRequest play = [&sounds](const std::string& file) {
        FUZZ_CHECK(file == kPraiseSound || file == "nono0.wav" || file == "nono1.wav");
        ++sounds;
    };
    std::int64_t keys = 0;
    TEcho echo;
    const int columns = in.ConsumeIntegralInRange<int>(0, 200);
    std::string box; // the echo's steps carried out as the window does
    while (in.remaining_bytes() >= 2) {
        const auto key = in.ConsumeIntegral<std::uint16_t>();
        // The judging reads the low byte; the high bits pick Shift, Caps Lock and the layout.
        const int wrongBefore = state.LettersWrong;
        JudgeKey(state, key, toggle, play);
        const TEchoStep step = echo.Type({key, (key & 0x8000) != 0, (key & 0x4000) != 0, (key >> 13) & 1},
                                         EchoVerdict(state, wrongBefore), columns);
        if (step.newLine) {
            const std::size_t lineStart = box.rfind('\n') == std::string::npos ? 0 : box.rfind('\n') + 1;
            FUZZ_CHECK(step.carried <= box.size() - lineStart);
            box.insert(box.size() - step.carried, "\n");
        }
        FUZZ_CHECK(step.text.find('\n') == std::string::npos);
        box += step.text;
        if (step.lineAfter)
            box += '\n';
        const std::size_t lineStart = box.rfind('\n') == std::string::npos ? 0 : box.rfind('\n') + 1;
        FUZZ_CHECK(box.size() - lineStart <= static_cast<std::size_t>(std::max(columns, 2)));
        FUZZ_CHECK(step.markFromEnd <= box.size());
        if (step.markFromEnd > 0)
            FUZZ_CHECK(box[box.size() - step.markFromEnd] != '\n');
        ++keys;
        FUZZ_CHECK(state.LettersRight + state.LettersWrong == keys);
        FUZZ_CHECK(state.WordPosition >= 0 && state.WordPosition < 256);
        FUZZ_CHECK(static_cast<std::int64_t>(state.TypedWord.size()) == state.WordPosition);
        FUZZ_CHECK(state.RightStreak >= 0 && state.RightStreak <= 4);
        FUZZ_CHECK(toggle == 0 || toggle == 1);
        const int percentage = RightPercentage(state);
        FUZZ_CHECK(percentage >= 0 && percentage <= 100);
        (void)LessonComplete(state);
    }
    FUZZ_CHECK(state.WordsRight + state.WordsWrong <= keys);
    FUZZ_CHECK(sounds >= state.WordsWrong);
    const std::string block =
        StatisticsBlock(state, ElapsedSince(state.StartTime, in.ConsumeProbability<double>()));
    std::size_t breaks = 0;
    for (std::size_t at = block.find("\r\n"); at != std::string::npos; at = block.find("\r\n", at + 2))
        ++breaks;
    FUZZ_CHECK(breaks == 8);
    (void)ClockLine(state.ExpectedTime);
    return 0;
}
