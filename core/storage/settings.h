#pragma once
#include "core/platform/iniFile.h"

#include <filesystem>

#include <string>
#include <vector>

// The program-wide current settings file and the five operations every window uses on it.
// Names of files are UTF-8 path text; sections, keys and values are Windows-1252.
// Nothing is kept in memory: every read goes to the disk, every write is on the disk when it returns.

extern std::string CurrentSettingsFile;

// The path the selection rule makes of a name: the empty text is the program settings file, a
// relative name is taken inside the program folder, an absolute one stays as it is.
std::string ResolveSettingsFile(const std::string& name);

void SelectSettingsFile(const std::string& name);
// An absent or empty key is stored with the default, which is answered.
std::string ReadSetting(const std::string& section, const std::string& key, const std::string& defaultValue);
// False only for the stored text "0".
bool ReadSettingFlag(const std::string& section, const std::string& key, bool defaultValue);
// False, with the file unchanged, when the value could not be stored.
bool WriteSetting(const std::string& section, const std::string& key, const std::string& value);
bool WriteSettingFlag(const std::string& section, const std::string& key, bool value);
// Several keys in one write: a new file is made whole, or not at all.
bool WriteSettings(const std::vector<TSettingValue>& values);

// A student's files (the profile in users/, the lesson results in aulas/) are written under the
// student's lock, users/.<nome>.trava, as a read-modify-write: re-read under the lock, changed only in
// the keys written, written whole. So a write of the catalogue or the editor never drops an exercise
// that another machine stored a moment before. The lock of such a file; empty for any other file.
std::filesystem::path StudentLockFileOf(const std::filesystem::path& file);
// How long a student's lock is waited for, and after how long seen unchanged it is stale.
inline constexpr int kStudentLockStaleSeconds = 10;
inline constexpr int kStudentLockWaitMs = (kStudentLockStaleSeconds + 1) * 1000;
