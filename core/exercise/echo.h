#pragma once
#include "core/exercise/exerciseState.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What the echo box shows while the student types: what the student's keyboard writes for each key (Shift
// and Caps Lock as the keyboard applies them, an ABNT2 dead key joined to the vowel after it), lines broken
// between groups so that a line holds whole groups, and in a word judged wrong its first wrong key, so the
// student sees the slip that cost the word. Text is Windows-1252; the window only carries out the steps.

// A key as it went down, with the keyboard's state.
struct TEchoKey {
    std::uint16_t code = 0;
    bool shifted = false;
    bool capsLock = false;
    int layout = 0; // 0 American, 1 ABNT2
};

// What the judging made of the key: told after it counted it.
struct TEchoVerdict {
    bool wrong = false;        // the key was a wrong letter
    bool attemptEnded = false; // it ended the word's attempt (judged the word, or dropped it)
};
// The verdict of the key just judged, from the state the judging left and its wrong letters before it.
inline TEchoVerdict EchoVerdict(const TExerciseState& after, int lettersWrongBefore) {
    return {after.LettersWrong > lettersWrongBefore, after.WordPosition == 0};
}

// What one key does to the box, in this order.
struct TEchoStep {
    bool newLine = false;    // start a new line ...
    std::size_t carried = 0; // ... taking along this many characters from the end of the last one
    std::string text;        // then add these characters (no line break among them)
    bool lineAfter = false;  // then start a new line (Enter)
    // Then mark the character this many places before the end of the box (a line break is one place): the
    // first wrong key of the word this key ended wrong. 0: nothing to mark.
    std::size_t markFromEnd = 0;
};

class TEcho {
public:
    // An empty box: a new exercise.
    void Clear();
    // One key that went down while running, with the judging's verdict on it; `columns` is how many
    // characters a line of the box holds.
    TEchoStep Type(const TEchoKey& key, const TEchoVerdict& verdict, int columns);

private:
    std::string m_line;              // the box's last line
    std::size_t m_places = 0;        // characters and line breaks in the box
    char m_accent = 0;               // a dead key's accent, waiting for the next key
    bool m_wordWrong = false;        // the word being typed has a wrong key ...
    bool m_markWaiting = false;      // ... whose character is not in the box yet
    std::size_t m_markAt = kNoPlace; // the place of that character
    static constexpr std::size_t kNoPlace = static_cast<std::size_t>(-1);
};
