// Lesson files as the loader reads them, through the shared text file, field by field.
#include "core/lessons/lessonFile.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/vtError.h"
#include "core/storage/textFile.h"
#include "scratch.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = WriteScratch("aula1.aul", std::string(reinterpret_cast<const char*>(data), size));
    try {
        const TLessonData lesson = ReadLessonFile(PathToUtf8(path));
        FUZZ_CHECK(lesson.Title.find('^') == std::string::npos);
        FUZZ_CHECK(lesson.Description.find('^') == std::string::npos);
        FUZZ_CHECK(lesson.ExpectedTime >= 0.0 && lesson.ExpectedTime < 1.0);
        CheckLessonCodeCount(lesson.Codes.size(), PathToUtf8(path));
        CheckLessonWordCount(lesson.WordsToType, PathToUtf8(path));
        (void)ShowLesson(lesson);
        (void)AdaptToLayout(lesson.Description, 1);
    } catch (const VtError&) {
    }
    CloseTextFile();
    return 0;
}
