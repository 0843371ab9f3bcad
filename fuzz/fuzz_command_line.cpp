// The programs' command lines as anyone may type them (arguments split at zero bytes): an answer is
// 0 with text for standard output, or 2 with the usage on standard error; no answer only when every
// argument was an option the program or the toolkit takes.
#include "scratch.h"
#include "windows/glue/commandLine.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments{QStringLiteral("velotecla")};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    arguments += text.split(QChar(0));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("escreve a tabela da turma"));
    for (const ProgramCommandLine& program :
         {ProgramCommandLine{QStringLiteral("velotecla"), QStringLiteral("--version | --help"), {}, {}, {}},
          ProgramCommandLine{
              QStringLiteral("velotecla-relatorio"), QStringLiteral("--csv"), {}, {csv}, {}}}) {
        QCommandLineParser parser;
        const auto answer = AnswerCommandLine(program, arguments, parser);
        if (!answer) {
            FUZZ_CHECK(parser.positionalArguments().isEmpty() && parser.unknownOptionNames().isEmpty());
            continue;
        }
        FUZZ_CHECK(answer->exitCode == 0 || answer->exitCode == 2);
        FUZZ_CHECK(answer->exitCode == 0
                       ? !answer->out.empty() && answer->err.empty()
                       : answer->out.empty() && answer->err.find("Uso: ") != std::string::npos);
    }
    return 0;
}
