#pragma once
// The command line of the teacher's tools (vt-aula, vt-figura), answered as the course's programs answer
// theirs: --help (-h) prints the usage and --version (-v) the version on standard output, ending with 0;
// an unknown option, or arguments that do not fit, print the usage on standard error and end with 2.
// A word that starts with "-" is never taken for a file or a folder (nothing is made from an option),
// unless it comes after "--".
#include "buildConfig.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

struct ToolCommandLine {
    std::vector<std::string> arguments; // the words that are not options, in order
    std::optional<int> exitCode;        // set: the tool ends now with this code (its answer is printed)
};

// The usage's lines for --help and --version, as the course's programs show theirs.
inline std::string ToolUsage(const std::string& usageLines, const std::string& about) {
    return "Uso: " + usageLines + "\n" + about + "\n\n  --version   mostra a versão e sai\n" +
           "  --help      mostra esta ajuda e sai\n";
}

// The usage on standard error, ending with 2: what a command line that does not fit gets.
inline int RefuseToolCommandLine(const std::string& program, const std::string& usage,
                                 const std::string& why = {}) {
    if (!why.empty())
        std::fprintf(stderr, "%s: %s\n", program.c_str(), why.c_str());
    std::fputs(usage.c_str(), stderr);
    return 2;
}

inline ToolCommandLine ReadToolCommandLine(const std::string& program, const std::string& usage, int argc,
                                           const char* const* argv) {
    ToolCommandLine line;
    bool optionsOver = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (optionsOver || word.size() < 2 || word[0] != '-') {
            line.arguments.push_back(word);
        } else if (word == "--") {
            optionsOver = true;
        } else if (word == "--help" || word == "-h" || word == "-help") {
            std::fputs(usage.c_str(), stdout);
            line.exitCode = 0;
            return line;
        } else if (word == "--version" || word == "-v" || word == "-version") {
            std::printf("%s %s\n", program.c_str(), VT_VERSION);
            line.exitCode = 0;
            return line;
        } else {
            line.exitCode = RefuseToolCommandLine(program, usage, "opção desconhecida: " + word);
            return line;
        }
    }
    return line;
}
