// Lesson sources: whatever the compiler accepts, it compiles into a file that the program loads back
// as the same lesson.
#include "core/lessons/lessonFile.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/vtError.h"
#include "core/storage/textFile.h"
#include "scratch.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TLessonSource source;
    try {
        source = ParseLessonSource(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const VtError&) {
        return 0;
    }
    const auto path = PathToUtf8(WriteScratch("aula1.aul", CompileLesson(source)));
    std::string problem;
    try {
        const TLessonData loaded = ReadLessonFile(path);
        CheckLessonCodeCount(loaded.Codes.size(), path);
        CheckLessonWordCount(loaded.WordsToType, path);
        problem = CompiledLessonMismatch(source, loaded);
    } catch (const VtError& e) {
        problem = e.what();
    }
    CloseTextFile();
    if (!problem.empty())
        std::fprintf(stderr, "compiled lesson does not load back: %s\n", problem.c_str());
    FUZZ_CHECK(problem.empty());
    return 0;
}
