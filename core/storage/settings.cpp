#include "core/storage/settings.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"

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

namespace {
std::string currentValue(const std::string& section, const std::string& key) {
    CurrentSettingsFile = ResolveSettingsFile(CurrentSettingsFile);
    return IniReadValue(PathFromUtf8(CurrentSettingsFile), section, key).value_or(std::string());
}
} // namespace

std::string ReadSetting(const std::string& section, const std::string& key, const std::string& defaultValue) {
    std::string value = currentValue(section, key);
    if (value.empty()) {
        WriteSetting(section, key, defaultValue);
        value = defaultValue;
    }
    return value;
}

bool ReadSettingFlag(const std::string& section, const std::string& key, bool defaultValue) {
    std::string value = currentValue(section, key);
    if (value.empty()) {
        WriteSettingFlag(section, key, defaultValue);
        value = defaultValue ? "1" : "0";
    }
    return value != "0";
}

bool WriteSetting(const std::string& section, const std::string& key, const std::string& value) {
    CurrentSettingsFile = ResolveSettingsFile(CurrentSettingsFile);
    return IniWriteValue(PathFromUtf8(CurrentSettingsFile), section, key, value);
}

bool WriteSettingFlag(const std::string& section, const std::string& key, bool value) {
    return WriteSetting(section, key, value ? "1" : "0");
}

bool WriteSettings(const std::vector<TSettingValue>& values) {
    CurrentSettingsFile = ResolveSettingsFile(CurrentSettingsFile);
    return IniWriteValues(PathFromUtf8(CurrentSettingsFile), values);
}
