#include "core/platform/registryStore.h"

#include "core/platform/dataPlaces.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"
#endif

namespace registry_store {

std::string StoreFileName() {
    return "velotecla.reg";
}

#ifdef _WIN32

namespace {
HKEY rootKey(Root root) {
    switch (root) {
    case Root::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case Root::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case Root::Users:
        return HKEY_USERS;
    case Root::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case Root::DynData:
        return HKEY_DYN_DATA;
    case Root::CurrentUser:
        break;
    }
    return HKEY_CURRENT_USER;
}
} // namespace

bool SetString(Root root, const std::string& keyPath, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(rootKey(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

ReadStatus GetString(Root root, const std::string& keyPath, const std::string& name, std::string& value) {
    value.clear();
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey(root), keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return ReadStatus::Missing;
    DWORD type = 0;
    DWORD size = 0;
    ReadStatus status = ReadStatus::Missing;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            status = ReadStatus::NotAString;
        } else {
            std::string buffer(size, '\0');
            if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                 &size) == ERROR_SUCCESS) {
                value = buffer.substr(0, buffer.find('\0'));
                status = ReadStatus::Ok;
            }
        }
    }
    RegCloseKey(key);
    return status;
}

#else

namespace {
const char* rootName(Root root) {
    switch (root) {
    case Root::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case Root::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case Root::Users:
        return "HKEY_USERS";
    case Root::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    case Root::DynData:
        return "HKEY_DYN_DATA";
    case Root::CurrentUser:
        break;
    }
    return "HKEY_CURRENT_USER";
}

std::string section(Root root, const std::string& keyPath) {
    std::string s = rootName(root);
    if (!keyPath.empty())
        s += "\\" + keyPath;
    return s;
}
} // namespace

bool SetString(Root root, const std::string& keyPath, const std::string& name, const std::string& value) {
    return IniWriteValue(ProgramFolder() / StoreFileName(), section(root, keyPath), name, value);
}

ReadStatus GetString(Root root, const std::string& keyPath, const std::string& name, std::string& value) {
    const auto v = IniReadValue(ProgramFolder() / StoreFileName(), section(root, keyPath), name);
    value = v.value_or(std::string());
    value = value.substr(0, value.find('\0'));
    return v ? ReadStatus::Ok : ReadStatus::Missing;
}

#endif

} // namespace registry_store
