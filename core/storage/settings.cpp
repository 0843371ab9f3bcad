#include "core/storage/settings.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/lockFile.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"

#include <cctype>
#include <optional>

std::string CurrentSettingsFile;

std::string ResolveSettingsFile(const std::string& name) {
    std::string result = name;
    if (result.empty()) {
        const std::string& help = HelpFileName();
        result = help.substr(0, help.size() >= 3 ? help.size() - 3 : 0) + "INI";
    }
    const auto path = PathFromUtf8(result);
    if (path.is_absolute())
        return result;
    return PathToUtf8(ProgramFolder() / path);
}

void SelectSettingsFile(const std::string& name) {
    CurrentSettingsFile = ResolveSettingsFile(name);
}

std::filesystem::path StudentLockFileOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path().lexically_normal();
    const std::string name = PathToUtf8(file.filename());
    if (ProgramFolder().empty() || name.empty() || name.front() == '.')
        return {};
    const std::filesystem::path users = (ProgramFolder() / files::UsersFolder).lexically_normal();
    if (folder == users)
        return users / PathFromUtf8("." + name + ".trava");
    // "aula<N>_<nome>.def"
    if (folder != (ProgramFolder() / files::LessonsFolder).lexically_normal() || !name.starts_with("aula") ||
        !name.ends_with(".def"))
        return {};
    std::size_t at = 4;
    while (at < name.size() && std::isdigit(static_cast<unsigned char>(name[at])))
        ++at;
    if (at == 4 || at >= name.size() || name[at] != '_' || at + 1 + 4 >= name.size())
        return {};
    return users / PathFromUtf8("." + name.substr(at + 1, name.size() - at - 1 - 4) + ".trava");
}

namespace {
// Held while a student's file is written (nothing for other files).
struct TWriteLock {
    std::optional<TFileLock> lock;
    explicit TWriteLock(const std::string& file) {
        if (const auto path = StudentLockFileOf(PathFromUtf8(file)); !path.empty())
            lock.emplace(path, kStudentLockWaitMs, kStudentLockStaleSeconds);
    }
};

std::string currentValue(const std::string& section, const std::string& key) {
    CurrentSettingsFile = ResolveSettingsFile(CurrentSettingsFile);
    return IniReadValue(PathFromUtf8(CurrentSettingsFile), section, key).value_or(std::string());
}
} // namespace

std::string ReadSetting(const std::string& section, const std::string& key, const std::string& defaultValue) {
    std::string value = currentValue(section, key);
    if (value.empty()) {
        // Stored only while still missing under the lock: a value another machine wrote meanwhile stays.
        const TWriteLock lock(CurrentSettingsFile);
        value = currentValue(section, key);
        if (value.empty()) {
            WriteSetting(section, key, defaultValue);
            value = defaultValue;
        }
    }
    return value;
}

bool ReadSettingFlag(const std::string& section, const std::string& key, bool defaultValue) {
    std::string value = currentValue(section, key);
    if (value.empty()) {
        const TWriteLock lock(CurrentSettingsFile);
        value = currentValue(section, key);
        if (value.empty()) {
            WriteSettingFlag(section, key, defaultValue);
            value = defaultValue ? "1" : "0";
        }
    }
    return value != "0";
}

bool WriteSetting(const std::string& section, const std::string& key, const std::string& value) {
    CurrentSettingsFile = ResolveSettingsFile(CurrentSettingsFile);
    const TWriteLock lock(CurrentSettingsFile);
    return IniWriteValue(PathFromUtf8(CurrentSettingsFile), section, key, value);
}

bool WriteSettingFlag(const std::string& section, const std::string& key, bool value) {
    return WriteSetting(section, key, value ? "1" : "0");
}

bool WriteSettings(const std::vector<TSettingValue>& values) {
    CurrentSettingsFile = ResolveSettingsFile(CurrentSettingsFile);
    const TWriteLock lock(CurrentSettingsFile);
    return IniWriteValues(PathFromUtf8(CurrentSettingsFile), values);
}
