#pragma once
#include <stdexcept>
#include <string>

// The one kind of error the program raises. It ends the handler it escapes from and is shown in the
// standard error box; its text is UTF-8 and is shown as it stands (the box adds the closing full stop).
class VtError : public std::runtime_error {
public:
    explicit VtError(const std::string& text) : std::runtime_error(text) {}
};
