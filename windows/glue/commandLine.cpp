#include "windows/glue/commandLine.h"

#include "buildConfig.h"

#include <cstdio>

namespace {

// Options that QGuiApplication and QApplication take out of the command line themselves. They are
// known to the parser only so that it lets them through; the usage does not show them.
const char* const kToolkitOptionsWithValue[] = {"platform",
                                                "platformpluginpath",
                                                "platformtheme",
                                                "plugin",
                                                "qwindowgeometry",
                                                "qwindowicon",
                                                "qwindowtitle",
                                                "session",
                                                "display",
                                                "geometry",
                                                "title",
                                                "name",
                                                "style",
                                                "stylesheet",
                                                "qmljsdebugger",
                                                "visual",
                                                "im"};
const char* const kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString usageOf(const ProgramCommandLine& program, const QList<QCommandLineOption>& shown) {
    QString text = QStringLiteral("Uso: %1 [%2]\n").arg(program.program, program.synopsis);
    if (!program.about.isEmpty())
        text += program.about + QLatin1Char('\n');
    text += QLatin1Char('\n');
    for (const QCommandLineOption& option : shown) {
        const QString name = QStringLiteral("--") + option.names().constLast();
        text += QStringLiteral("  %1 %2\n").arg(name, -11).arg(option.description());
    }
    if (!program.notes.isEmpty())
        text += QLatin1Char('\n') + program.notes;
    return text;
}

} // namespace

QStringList ArgumentsOf(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

std::optional<CommandLineAnswer> AnswerCommandLine(const ProgramCommandLine& program,
                                                   const QStringList& arguments, QCommandLineParser& parser) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("mostra esta ajuda e sai"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("mostra a versão e sai"));
    QList<QCommandLineOption> shown = program.own;
    shown << version << help;

    // The toolkit writes its options with one dash (-platform xcb); so may the user write ours.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(shown);
    for (const char* name : kToolkitOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("valor"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kToolkitFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    const QString usage = usageOf(program, shown);
    const auto refuse = [&](const QString& why) {
        return CommandLineAnswer{
            2, {}, (program.program + QStringLiteral(": ") + why + QLatin1Char('\n') + usage).toStdString()};
    };
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString& name = unknown.constFirst();
            return refuse(QStringLiteral("opção desconhecida: %1%2")
                              .arg(arguments.contains(QStringLiteral("-") + name) ? QStringLiteral("-")
                                                                                  : QStringLiteral("--"),
                                   name));
        }
        return refuse(QStringLiteral("opção sem o valor que ela pede, ou com um valor que ela não aceita"));
    }
    if (parser.isSet(help))
        return CommandLineAnswer{0, usage.toStdString(), {}};
    if (parser.isSet(version))
        return CommandLineAnswer{
            0, (program.program + QStringLiteral(" " VT_VERSION "\n")).toStdString(), {}};
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("argumento inesperado: %1").arg(parser.positionalArguments().constFirst()));
    return std::nullopt;
}

int PrintCommandLineAnswer(const CommandLineAnswer& answer) {
    std::fputs(answer.out.c_str(), stdout);
    std::fputs(answer.err.c_str(), stderr);
    return answer.exitCode;
}
