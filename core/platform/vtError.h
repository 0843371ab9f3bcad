#pragma once
#include <stdexcept>
#include <string>

// The one kind of error the program raises. It ends the handler it escapes from and is shown in the
// standard error box; its text is UTF-8 and is shown as it stands (the box adds the closing full stop).
class VtError : public std::runtime_error {
public:
    explicit VtError(const std::string& text) : std::runtime_error(text) {}
};

// "'%s' is not a valid integer value" and its kin: the offending text, Windows-1252, goes in place of %s.
[[noreturn]] void RaiseConvertError(const char* pattern, const std::string& cp1252Text);
