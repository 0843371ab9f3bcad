#include "core/exercise/exerciseState.h"

#include <algorithm>
#include <stdexcept>

TExerciseState ExerciseState;

void SetModel(TExerciseState& state, const std::vector<int>& codes) {
    if (codes.size() > MaxLessonCodes)
        throw std::length_error("lesson text longer than the model");
    std::fill(std::begin(state.ModelCodes), std::end(state.ModelCodes), std::uint8_t{0});
    for (std::size_t i = 0; i < codes.size(); ++i)
        state.ModelCodes[i] = static_cast<std::uint8_t>(codes[i] & 0xFF);
    state.ModelLength = static_cast<std::int32_t>(codes.size());
}
