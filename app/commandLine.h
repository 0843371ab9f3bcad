#pragma once
#include <optional>
#include <string>

// `velotecla --version` and `velotecla --help` answer on the terminal and end; any other argument is
// left to the toolkit (-platform, -display ...), and with none the program starts as usual.
// Returns the exit code when the program should end without starting, and the text to print.
struct CommandLineAnswer {
    int exitCode = 0;
    std::string text;
};
std::optional<CommandLineAnswer> AnswerCommandLine(int argc, const char* const* argv);
