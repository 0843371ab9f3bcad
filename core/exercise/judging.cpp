#include "core/exercise/judging.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/keyboard.h"
#include "core/platform/pathText.h"
#include "core/platform/tickCounter.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kModelSize = static_cast<int>(MaxLessonCodes);

// Notes a key for the slips by key: a tick and a byte per key; the alignment waits for the word's end.
void noteSlipKey(TExerciseState& state, std::uint8_t code) {
    const std::uint32_t now = TickCount();
    const int length = std::clamp(state.ModelLength, 0, kModelSize);
    if (length == 0)
        return;
    if (state.SlipCount < 0 || state.SlipCount >= 2 * length) // a model changed under a running exercise
        state.SlipCount = 0;
    state.SlipTyped[state.SlipCount] = code;
    state.SlipTicks[state.SlipCount] = now;
    ++state.SlipCount;
    if (code != state.ModelCodes[length - 1] && state.SlipCount < 2 * length)
        return;
    static thread_local std::vector<TSlipStep> steps;
    const std::span<const std::uint8_t> model(state.ModelCodes, static_cast<std::size_t>(length));
    const std::span<const std::uint8_t> typed(state.SlipTyped, static_cast<std::size_t>(state.SlipCount));
    AlignWord(model, typed, steps);
    AddWordSlips(state.Slips, model, typed, state.SlipTicks, state.SlipBefore, steps);
    state.SlipCount = 0;
    state.SlipBefore = now;
}
} // namespace

std::string SoundPath(const std::string& fileName) {
    return PathToUtf8(ProgramFile(std::filesystem::path(files::SoundFolder) / PathFromUtf8(fileName)));
}

std::string WrongWordSound(std::int32_t wrongWordToggle) {
    return "nono" + IntToStr(wrongWordToggle) + ".wav";
}

std::string ModelText(const TExerciseState& state) {
    const auto* codes = reinterpret_cast<const char*>(state.ModelCodes);
    return std::string(codes, strnlen(codes, sizeof state.ModelCodes));
}

int RightPercentage(std::int64_t lettersRight, std::int64_t lettersWrong) {
    const std::int64_t total = std::max<std::int64_t>(1, lettersRight + lettersWrong);
    return static_cast<int>(100 * lettersRight / total);
}

int RightPercentage(const TExerciseState& state) {
    return RightPercentage(state.LettersRight, state.LettersWrong);
}

double ElapsedSince(double start, double now) {
    const double elapsed = now - start;
    return elapsed < 0.0 ? elapsed + 1.0 : elapsed;
}

void StartExercise(TExerciseState& state, double now) {
    state.Running = true;
    state.WordsRight = 0;
    state.WordsWrong = 0;
    state.LettersRight = 0;
    state.LettersWrong = 0;
    state.WordPosition = 0;
    state.RightStreak = 0;
    state.TypedWord.clear();
    state.StartTime = now;
    state.Slips = TKeySum{};
    state.SlipCount = 0;
    state.SlipBefore = TickCount();
}

void JudgeKey(TExerciseState& state, std::uint16_t keyCode, std::int32_t& wrongWordToggle,
              const SoundRequest& play) {
    const auto code = static_cast<std::uint8_t>(keyCode & 0xFF);
    state.TypedWord += static_cast<char>(code);
    // A position past the model (a lesson without codes) expects nothing: the key is wrong.
    const bool inModel = state.WordPosition >= 0 && state.WordPosition < kModelSize;
    if (inModel && code == state.ModelCodes[state.WordPosition])
        ++state.LettersRight;
    else
        ++state.LettersWrong;
    noteSlipKey(state, code);
    JudgeWord(state, code, wrongWordToggle, play);
}

void JudgeWord(TExerciseState& state, std::uint8_t code, std::int32_t& wrongWordToggle,
               const SoundRequest& play) {
    ++state.WordPosition;
    const bool hasLastCode = state.ModelLength > 0 && state.ModelLength <= kModelSize;
    if (hasLastCode && code == state.ModelCodes[state.ModelLength - 1]) {
        if (state.TypedWord == ModelText(state)) {
            ++state.WordsRight;
            ++state.RightStreak;
            if (state.RightStreak > 4) {
                state.RightStreak = 0;
                if (play)
                    play(kPraiseSound);
            }
        } else {
            ++state.WordsWrong;
            state.RightStreak = 0;
            wrongWordToggle = wrongWordToggle == 0 ? 1 : 0;
            if (play)
                play(WrongWordSound(wrongWordToggle));
        }
        state.WordPosition = 0;
        state.TypedWord.clear();
    } else if (state.WordPosition == state.ModelLength || state.WordPosition >= kModelSize) {
        // The attempt ran past the model without its last code: dropped, its letters stay counted.
        state.WordPosition = 0;
        state.TypedWord.clear();
    }
}

bool LessonComplete(const TExerciseState& state) {
    return static_cast<std::int64_t>(state.WordsRight) + state.WordsWrong == state.WordsToType;
}

std::string EchoOf(std::uint16_t keyCode, bool shifted, int layout, bool capsLock) {
    if (keyCode == Vk::Return)
        return "\r\n";
    if (keyCode == Vk::Space)
        return " ";
    const TKeyboardKey* key = KeyOfCode(keyCode);
    if (!key || !key->OnScreen())
        return {};
    const bool abnt2 = layout == 1;
    const std::string legend = Utf8ToCp1252Lossy(abnt2 ? key->AbntLegend() : key->legend);
    if (legend.size() != 1)
        return {}; // Shift, Tab, Caps Lock, Backspace: keys that type nothing
    const char plain = legend[0];
    const bool capital = shifted != capsLock;
    if (plain >= 'A' && plain <= 'Z')
        return std::string(1, capital ? plain : static_cast<char>(plain - 'A' + 'a'));
    if (plain == '\xC7') // the ABNT2 key right of L: ç, Ç with Shift
        return std::string(1, capital ? plain : '\xE7');
    const char withShift = abnt2 ? key->abnt2Shifted : key->shifted;
    return std::string(1, shifted && withShift ? withShift : plain);
}

std::string StatisticsBlock(const TExerciseState& state, double elapsed) {
    const std::string lines[9] = {
        "Palavras OK      = " + IntToStr(state.WordsRight),
        "Palavras Erradas =  " + IntToStr(state.WordsWrong),
        "Letras OK        = " + IntToStr(state.LettersRight),
        "Letras Erradas   = " + IntToStr(state.LettersWrong),
        "Tempo Esperado   = " + TimeToStr(state.ExpectedTime),
        "Tempo Decorrido  = " + TimeToStr(elapsed),
        "---------------------------",
        "Porcentagem Minima    = " + IntToStr(state.MinimumPercent) + "%",
        "Porcentagem de Acerto = " + IntToStr(RightPercentage(state)) + "%",
    };
    std::string block = lines[0];
    for (int i = 1; i < 9; ++i)
        block += "\r\n" + lines[i];
    return block;
}

std::string ClockLine(double elapsed) {
    return "Tempo Decorrido: " + TimeToStr(elapsed) + " - Use \"ESC\" p/ Sair.";
}
