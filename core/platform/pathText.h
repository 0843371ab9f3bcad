#pragma once
#include <filesystem>
#include <string>

// The application's help file name; the program settings file is named after it.
void SetHelpFileName(const std::string& name);
const std::string& HelpFileName();

// Paths are UTF-8 text wherever the program keeps them as text (Linux file names are UTF-8 bytes).
std::filesystem::path PathFromUtf8(const std::string& text);
std::string PathToUtf8(const std::filesystem::path& path);

// The file-name part of a path given as text ("users/ana" gives "ana").
std::string FileNamePart(const std::string& pathText);

// The system's reason for the last failed file operation, for "Cannot open file ..." texts.
std::string SystemErrorText(int errorNumber);
// The same in Portuguese, for messages a user reads (the system's own texts follow its language, often
// English on a school's machine); a number without a text of its own is named with it.
std::string SystemErrorTextPt(int errorNumber);
