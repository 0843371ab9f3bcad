#pragma once
#include "core/exercise/exerciseState.h"

#include <cstdint>
#include <string>
#include <vector>

// Lesson files: logical lines ended by "^" (the two characters after it are skipped), Windows-1252.
// Line 1 title, 2 description, 3 start key, 4 the codes to type, 5 words to type, 6 time allowed,
// 7 minimum percentage; labels of fixed width stand before the values of lines 3 to 7.

// Every reader of that format goes through these three; the line rule is written once behind them.
// The next logical line of the shared text file (core/storage/textFile.h). Raises "I/O error 104" when
// the file is not open.
std::string ReadNextLine();
// The first `count` logical lines of a lesson file's bytes, split as ReadNextLine splits them: Ctrl-Z
// (or the end) ends the text, each line ends at "^" and the two characters after it are skipped; lines
// past the end are empty. For readers that hold the whole file (the class report, vt-aula show).
std::vector<std::string> LessonLines(const std::string& bytes, std::size_t count = 7);
// The seven lines of a lesson file, opened as the course opens it (only a regular file of at most
// 1 MiB, never through a link in the data folder) and closed again. Raises "I/O error 104" when it
// cannot be opened.
std::vector<std::string> ReadLessonLines(const std::string& path);

// The fields, each raising the program's conversion error for a text that does not parse.
int LessonStartKey(const std::string& line3); // characters 10 to 12
std::vector<int>
LessonCodes(const std::string& line4);           // characters 10 on, in groups of 3 (trailing 1-2 ignored)
int LessonWordsToType(const std::string& line5); // characters 14 to 268
double LessonExpectedTime(const std::string& line6); // characters 10 on, a time of day
int LessonMinimumPercent(const std::string& line7);  // characters 13 on

// "F1" to "F12" for 112 to 123, the empty text for any other code.
std::string StartKeyName(int code);

// A whole lesson read at once (for tools and checks; the loader parses the lines step by step, so
// that a bad field stops it where it used to).
struct TLessonData {
    std::string Title;
    std::string Description;
    int StartKey = 0;
    std::vector<int> Codes; // as parsed; the loader keeps the low 8 bits of each
    int WordsToType = 0;
    double ExpectedTime = 0.0;
    int MinimumPercent = 0;
};
// The fields of seven lines (ReadLessonLines or LessonLines), in the file's order: the first bad field
// raises its conversion error.
TLessonData ParseLessonLines(const std::vector<std::string>& lines);
TLessonData ReadLessonFile(const std::string& path);   // ReadLessonLines, then ParseLessonLines
TLessonData LessonFromBytes(const std::string& bytes); // LessonLines, then ParseLessonLines

// The keyboard layout of a student (section Keyboard, key Layout, default "0"): 0 "Padrão Americano
// ou ABNT I", 1 "ABNT II". Makes the profile the current settings file; raises for a value that is
// not a whole number.
int ReadStudentLayout(const std::string& profilePath);

// The description as the student's layout shows it: for layout 1 every ";" becomes "Ç" (byte 199).
std::string AdaptToLayout(const std::string& description, const std::string& profilePath);
std::string AdaptToLayout(const std::string& description, int layout);

// A lesson can only be typed to an end with 1 to 256 codes and at least one word to type; these
// raise a message naming the lesson file otherwise (pathText: UTF-8).
void CheckLessonCodeCount(std::size_t count, const std::string& pathText);
void CheckLessonWordCount(int words, const std::string& pathText);
