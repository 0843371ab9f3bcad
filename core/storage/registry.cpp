#include "core/storage/registry.h"

#include "core/platform/registryStore.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"

using registry_store::Root;

namespace {

Root rootFor(const std::string& name) {
    if (name == "HKEY_CLASSES_ROOT")
        return Root::ClassesRoot;
    if (name == "HKEY_LOCAL_MACHINE")
        return Root::LocalMachine;
    if (name == "HKEY_USERS")
        return Root::Users;
    if (name == "HKEY_CURRENT_CONFIG")
        return Root::CurrentConfig;
    if (name == "HKEY_DYN_DATA")
        return Root::DynData;
    return Root::CurrentUser;
}

} // namespace

void WriteRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& value) {
    const auto slash = keyPath.find('\\');
    const std::string rootElement = keyPath.substr(0, slash);
    std::string key = slash == std::string::npos ? std::string() : keyPath.substr(slash + 1, 2000);
    if (!registry_store::SetString(rootFor(rootElement), key, valueName, value))
        RaiseConvertError("Failed to set data for '%s'", valueName);
}

std::string ReadRegistryValue(const std::string& valuePath) {
    const auto first = valuePath.find('\\');
    const auto last = valuePath.rfind('\\');
    const std::string rootElement = valuePath.substr(0, first);
    std::string key;
    std::string name;
    if (first != std::string::npos) {
        key = first == last ? std::string() : valuePath.substr(first + 1, last - first - 1);
        name = valuePath.substr(last + 1);
    }
    std::string value;
    if (registry_store::GetString(rootFor(rootElement), key, name, value) ==
        registry_store::ReadStatus::NotAString)
        RaiseConvertError("Invalid data type for '%s'", name);
    return value;
}
