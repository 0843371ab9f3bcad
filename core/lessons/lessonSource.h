#pragma once
#include "core/lessons/lessonFile.h"
#include "core/platform/keyboard.h"

#include <string>
#include <vector>

// Lesson sources: the form in which teachers write lessons, in any text editor (UTF-8, or Windows-1252
// as older editors save it). One field a line, "#" starts a comment line, and the description runs
// from its own line to the end of the file:
//
//   Título: Mao Esq. Treino 1
//   Tecla: F1
//   Texto: "asdffdsa "
//   Palavras: 12
//   Tempo: 00:02:45
//   Mínimo: 90
//   Descrição:
//   Apoie os dedos da mão esquerda ...
//
// The text is written as the characters to type, between double quotes; {Enter} stands for Enter,
// {Shift} for a lone Shift and {NNN} for any key by its 3-digit code. A capital letter is typed as
// Shift and the letter, and so are the symbols that Shift gives on the same key in the American and the
// ABNT2 layouts (! @ # $ % & * ( ) _ + < >). ";" and "ç" are the key right of L.

struct TLessonSource {
    std::string Title;       // Windows-1252
    std::string Description; // Windows-1252, lines joined by CR LF
    int StartKey = 0;        // 112 to 123
    std::vector<int> Codes;  // one per key press
    int WordsToType = 0;
    double TimeAllowed = 0.0; // a fraction of a day
    int MinimumPercent = 0;
};

// Reads a source; raises VtError for the first thing it refuses, its text (UTF-8) starting with
// "Linha N: ", N the line of the source at fault.
TLessonSource ParseLessonSource(const std::string& sourceText);

// The lesson file's bytes: seven logical lines, each ended by "^" and CR LF, labels of the fixed widths.
std::string CompileLesson(const TLessonSource& lesson);

// How a lesson file read back differs from the lesson it was compiled from (UTF-8, naming the first
// field that differs); empty when the program loads it as that very lesson.
std::string CompiledLessonMismatch(const TLessonSource& compiled, const TLessonData& loaded);

// A lesson file shown as a source (UTF-8) that compiles back to the same lesson, with comment lines
// giving the figures a teacher checks (keys, keys per minute asked for).
std::string ShowLesson(const TLessonData& lesson);

// The text of a lesson as written in a source, without the quotes ("Casa{Enter}" for 16 67 65 83 65 13).
std::string CodesToSourceText(const std::vector<int>& codes);

// The text a lesson asks for as a typing book prints it, for a layout (0 American, 1 ABNT2): capitals
// and symbols instead of Shift and their keys, the key right of L as "ç" between letters (a word's ç)
// and elsewhere as ";" or (ABNT2) "Ç", and without the last key, the space or Enter that closes each
// word. Windows-1252.
std::string TextToType(const std::vector<int>& codes, int layout);
