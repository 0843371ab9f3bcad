#pragma once
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

// The command line of the programs of the course (velotecla, velotecla-relatorio): --help and --version
// answer on standard output and end with 0; an unknown option or an argument gets the usage on standard
// error and ends with 2. The toolkit's own options (-platform, -display, -style ...) pass through to it.
// Parsed before the toolkit starts, so --help and --version need no display.
struct ProgramCommandLine {
    QString program;               // "velotecla"
    QString synopsis;              // what follows the program's name in the usage line
    QString about;                 // a line or two on what the program does
    QList<QCommandLineOption> own; // options of the program besides --help and --version
    QString notes;                 // text after the list of options
};

struct CommandLineAnswer {
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // for standard error
};

QStringList ArgumentsOf(int argc, const char* const* argv);

// The answer when the program should end now; otherwise nothing, and `parser` holds the options given.
std::optional<CommandLineAnswer> AnswerCommandLine(const ProgramCommandLine& program,
                                                   const QStringList& arguments, QCommandLineParser& parser);

// Prints the answer where it belongs; returns its exit code.
int PrintCommandLineAnswer(const CommandLineAnswer& answer);
