#pragma once
#include "core/exercise/exerciseState.h"

#include <cstdint>
#include <functional>
#include <string>

// The judging of an exercise, without windows: keys against the model, words, the statistics block.
// Texts are Windows-1252 bytes.

// Asked to play a sound of the sound folder, by file name ("great.wav", "nono1.wav").
using SoundRequest = std::function<void(const std::string& soundFileName)>;

inline constexpr const char* kPraiseSound = "great.wav";
// The full path of a file of the program's sound folder.
std::string SoundPath(const std::string& fileName);

// The wrong-word sound: "nono" + the toggle ("1" or "0") + ".wav".
std::string WrongWordSound(std::int32_t wrongWordToggle);

// The text typed so far is the model when it equals the codes up to the first 0.
std::string ModelText(const TExerciseState& state);

// (100 x right) / max(1, right + wrong), rounded down.
int RightPercentage(std::int64_t lettersRight, std::int64_t lettersWrong);
int RightPercentage(const TExerciseState& state);

// Time of day `now` minus `start`, both day fractions; an exercise that runs across midnight still
// counts the time it took.
double ElapsedSince(double start, double now);

// Counters reset, Running on, StartTime taken.
void StartExercise(TExerciseState& state, double now);

// One key that went down while running: the letter judged, then the word. The toggle alternates on
// every wrong word and picks the wrong-word sound.
void JudgeKey(TExerciseState& state, std::uint16_t keyCode, std::int32_t& wrongWordToggle,
              const SoundRequest& play);
void JudgeWord(TExerciseState& state, std::uint8_t code, std::int32_t& wrongWordToggle,
               const SoundRequest& play);

// Right plus wrong words have reached the lesson's count.
bool LessonComplete(const TExerciseState& state);

// What the echo box gets for a key: the character the layout (0 American, 1 ABNT2) types on that key,
// with Shift or without, as the student sees it printed, letters turned by Caps Lock as the keyboard
// turns them (Shift with Caps Lock gives small letters); CR LF for Enter; nothing for a key that types
// no character (Shift, Tab, Caps Lock, Backspace). ABNT2's dead keys are their accents here; the echo
// (echo.h) joins them to the letter after.
std::string EchoOf(std::uint16_t keyCode, bool shifted, int layout, bool capsLock = false);

// The nine-line statistics block, lines joined by CR LF, no break after the last.
std::string StatisticsBlock(const TExerciseState& state, double elapsed);

// "Tempo Decorrido: hh:mm:ss - Use "ESC" p/ Sair."
std::string ClockLine(double elapsed);

// The message line once the exercise has started.
inline constexpr const char* kRunningMessage = "Utilize a Tecla \"ESC\" para Sair";
inline constexpr const char* kCancelQuestion = "Deseja Realmente Cancelar esta Aula?";
