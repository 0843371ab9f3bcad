#pragma once
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The INI format of the settings files: "[section]" lines, "key=value" lines, CR LF, Windows-1252.
// Names match without regard to case; blanks around names and values are not part of them.

// The text without the blanks (spaces and tabs) at its ends, as INI names and values are read (and
// the fields of a lesson source).
std::string TrimBlanks(const std::string& text);

// The value of a key in an INI text; nullopt when the section or key is absent.
std::optional<std::string> IniGetValue(const std::string& document, const std::string& section,
                                       const std::string& key);
// Every value of an INI text as IniGetValue finds it (the first section of a name, the first key in
// it), read in one pass for a reader that looks at many keys of one text; keyed by IniValueKey.
std::map<std::string, std::string> IniAllValues(const std::string& document);
std::string IniValueKey(const std::string& section, const std::string& key);

// The INI text with the key set: an existing key keeps its place, a missing key goes to the end of
// its section, a missing section to the end of the text; every other line stays byte for byte.
std::string IniSetValue(const std::string& document, const std::string& section, const std::string& key,
                        const std::string& value);

// The same on files. Reading a missing file answers nullopt; writing creates the file (not its
// folder) and replaces it atomically, answering false and leaving it untouched on failure.
std::optional<std::string> IniReadValue(const std::filesystem::path& file, const std::string& section,
                                        const std::string& key);
bool IniWriteValue(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   const std::string& value);

struct TSettingValue {
    std::string Section;
    std::string Key;
    std::string Value;
};
// Several keys set in one write of the file: all of them are stored, or none is.
bool IniWriteValues(const std::filesystem::path& file, const std::vector<TSettingValue>& values);
