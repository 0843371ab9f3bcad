#pragma once
#include <functional>
#include <string>

// The one shared text file through which lesson files are read, character by character. Ctrl-Z (26)
// counts as the end of the file.

// Where OpenTextFile shows its error message (the windows install a message box here).
void SetTextFileMessageSink(std::function<void(const std::string& utf8Text)> sink);

void OpenTextFile(const std::string& name, bool showError);
// count characters; past the end (or at a Ctrl-Z) each reads as character 26. Empty when not open.
std::string ReadTextChars(int count);
// Raises "I/O error 104" when the file is not open for reading.
bool TextFileAtEnd();
void CloseTextFile();

// Deletes a data file; true when it was deleted. Reports nothing.
bool DeleteDataFile(const std::string& path);
