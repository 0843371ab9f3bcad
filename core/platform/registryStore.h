#pragma once
#include <optional>
#include <string>

// Where string values live under a root key, a key path and a value name. On Windows this is the
// registry itself; elsewhere a small INI file in the program folder, read afresh at every call, one
// section per key ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), one line per value.
namespace registry_store {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

// False when the key could not be opened or created, or the value not written.
bool SetString(Root root, const std::string& keyPath, const std::string& name, const std::string& value);

enum class ReadStatus { Ok, Missing, NotAString };
// Missing key, refused key and missing value all give Missing.
ReadStatus GetString(Root root, const std::string& keyPath, const std::string& name, std::string& value);

// The file that stands in for the registry where there is none.
std::string StoreFileName();

} // namespace registry_store
