// vt-aula: the teacher's tool for lesson files.
//   vt-aula compile FONTE.txt AULA.aul   compiles a lesson source into a lesson file
//   vt-aula show AULA.aul [...]          shows lesson files as sources (readable text)
#include "core/lessons/lessonFile.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "core/storage/convert.h"
#include "tools/toolCommandLine.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {
const std::string kUsage =
    ToolUsage("vt-aula compile FONTE.txt AULA.aul\n"
              "       vt-aula show AULA.aul [AULA.aul ...]",
              "compile: transforma o texto de uma aula no arquivo de aula que o curso lê.\n"
              "show: mostra arquivos de aula como texto, pronto para editar e compilar de novo.");

int compile(const std::string& source, const std::string& target) {
    int error = 0;
    const auto text = ReadWholeFile(PathFromUtf8(source), &error);
    if (!text) {
        std::fprintf(stderr, "vt-aula: %s: não foi possível ler o arquivo (%s).\n", source.c_str(),
                     SystemErrorTextPt(error).c_str());
        return 1;
    }
    TLessonSource lesson;
    try {
        lesson = ParseLessonSource(*text);
        // The student reads what to type in the description's first lines; say so when it is not there.
        std::size_t third = 0;
        for (int line = 0; line < 3 && third != std::string::npos; ++line)
            third = lesson.Description.find("\r\n", third + (line ? 2 : 0));
        const std::string shown = TextToType(lesson.Codes, 0);
        if (lesson.Description.find(shown) >= third)
            std::fprintf(stderr, "%s: aviso: as primeiras linhas da descrição não mostram o texto \"%s\".\n",
                         source.c_str(), Cp1252ToUtf8(shown).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), e.what());
        return 1;
    }
    if (!WriteFileAtomically(PathFromUtf8(target), CompileLesson(lesson))) {
        std::fprintf(stderr, "vt-aula: %s: não foi possível gravar o arquivo.\n", target.c_str());
        return 1;
    }
    // What was written is read back as the program reads it: a file that would not load as this very
    // lesson is not left behind.
    std::string problem;
    try {
        problem = CompiledLessonMismatch(lesson, ReadLessonFile(target));
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (!problem.empty()) {
        std::error_code ec;
        std::filesystem::remove(PathFromUtf8(target), ec);
        std::fprintf(stderr, "vt-aula: %s: o arquivo compilado não é lido de volta como a mesma aula: %s.\n",
                     target.c_str(), problem.c_str());
        return 1;
    }
    return 0;
}

int show(const std::vector<std::string>& files) {
    int result = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        int error = 0;
        const auto bytes = ReadWholeFile(PathFromUtf8(path), &error);
        if (!bytes) {
            std::fprintf(stderr, "vt-aula: %s: não foi possível ler o arquivo (%s).\n", path.c_str(),
                         SystemErrorTextPt(error).c_str());
            result = 1;
            continue;
        }
        try {
            const std::string text = ShowLesson(LessonFromBytes(*bytes));
            std::printf("%s# ---- %s ----\n%s", i ? "\n" : "", FileNamePart(path).c_str(), text.c_str());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vt-aula: %s: %s\n", path.c_str(), e.what());
            result = 1;
        }
    }
    return result;
}
} // namespace

int main(int argc, char* argv[]) {
    const ToolCommandLine line = ReadToolCommandLine("vt-aula", kUsage, argc, argv);
    if (line.exitCode)
        return *line.exitCode;
    const std::vector<std::string>& words = line.arguments;
    if (!words.empty() && words[0] == "compile" && words.size() == 3)
        return compile(words[1], words[2]);
    if (!words.empty() && words[0] == "show" && words.size() >= 2)
        return show({words.begin() + 1, words.end()});
    return RefuseToolCommandLine("vt-aula", kUsage);
}
