#pragma once
#include <string>

// The stored form of a password (Windows-1252 bytes in, bytes out). Six stored characters for each
// password character; no key, only positions, so this hides a password from a glance, nothing more.
std::string EncodePassword(const std::string& password);
// Any text decodes without failing; one that is not a stored form gives the empty text.
std::string DecodePassword(const std::string& stored);
// The number layout the encoding uses: separators dropped, f fraction digits, w whole digits.
std::string FormatDigits(const std::string& number, int fractionDigits, int wholeDigits);
