#pragma once
#include "core/platform/atomicFile.h"
#include "core/platform/iniFile.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A student's name is the file name of the profile (and part of the lesson result files' names), so
// a typed name must be a file name on every system the program runs on, in the Windows-1252 code page
// the program stores its texts in. Texts here are UTF-8, as the windows hand them over.

inline constexpr int kMaxStudentNameLength = 100; // characters
// Bytes of the name as the file system stores it (UTF-8 here), so that the longest file made from it,
// the temporary of "aula24_" + name + ".def", still fits in a file name.
inline constexpr std::size_t kMaxStudentNameBytes =
    kMaxFileNameBytes - kTemporaryNameExtra - std::char_traits<char>::length("aula24_.def");
inline constexpr int kMaxPasswordLength = 10; // what the access dialog lets the user type

// The folder of the student profiles, in the program folder; every profile path is built from it.
std::filesystem::path StudentsFolder();

// Why a typed name cannot be a student's name, as a message for the user; empty when it can.
std::string StudentNameProblem(const std::string& utf8Name);
// Why a typed password cannot be stored; empty when it can.
std::string PasswordProblem(const std::string& utf8Password);

// Windows-1252 letters in lower case, accented ones included: two names that fold alike are the
// same file on Windows, so they are the same student everywhere.
std::string FoldStudentName(const std::string& cp1252);

// Every profile file in usersFolder whose name is the typed one, or differs from it only in letter
// case or in how its accents are written (a letter and a combining mark). Empty for an unusable name
// (no file is looked at then).
std::vector<std::filesystem::path> StudentFilesNamed(const std::filesystem::path& usersFolder,
                                                     const std::string& utf8Name);

// The profile file of a typed name in usersFolder: the file of exactly that name, else the one file
// whose name differs only in letter case. Nothing for an unusable name (no file is looked at then),
// nor when no file, or more than one, matches.
std::optional<std::filesystem::path> FindStudentFile(const std::filesystem::path& usersFolder,
                                                     const std::string& utf8Name);

// A new student's profile, made with its first values in one step, and only while no profile of that
// name (in any letter case) exists: two saves at the same moment never make two profiles, nor does
// one replace the other.
enum class TNewProfile { Made, Exists, Failed };
TNewProfile CreateStudentProfile(const std::filesystem::path& usersFolder, const std::string& utf8Name,
                                 const std::vector<TSettingValue>& values);
