#include "app/commandLine.h"

#include <string_view>

#ifndef VT_VERSION
#define VT_VERSION "1.7"
#endif

std::optional<CommandLineAnswer> AnswerCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version" || arg == "-v")
            return CommandLineAnswer{0, "velotecla " VT_VERSION "\n"};
        if (arg == "--help" || arg == "-h")
            return CommandLineAnswer{
                0, "Uso: velotecla [--version | --help]\n"
                   "Velotecla - Curso de Datilografia: 24 aulas de digitação com teclado na tela.\n"
                   "Sem argumentos, abre o programa.\n"
                   "\n"
                   "  --version   mostra a versão e sai\n"
                   "  --help      mostra esta ajuda e sai\n"
                   "\n"
                   "Dados: ao lado do programa quando a pasta dele tem as aulas e pode ser gravada;\n"
                   "instalado, na pasta compartilhada /var/lib/velotecla (grupo velotecla) ou, para\n"
                   "quem não é do grupo, em $XDG_DATA_HOME/velotecla (~/.local/share/velotecla).\n"
                   "A variável VELOTECLA_DADOS indica outra pasta de dados.\n"};
    }
    return std::nullopt;
}
