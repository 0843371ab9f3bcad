#pragma once
#include <string>

// A string value addressed by one path text whose first element names the root key
// ("HKEY_LOCAL_MACHINE\SOFTWARE\..."); an unknown root name selects HKEY_CURRENT_USER.

// keyPath names the key; the value name is apart. Raises "Failed to set data for '%s'" on failure.
void WriteRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& value);
// valuePath names the value (its last element). A missing key or value gives the empty text; a value
// that is not a string raises "Invalid data type for '%s'".
std::string ReadRegistryValue(const std::string& valuePath);
