// Student names as typed: a name the editor accepts can be stored as a profile, and every file the
// program derives from it (lesson results, temporaries) fits the file system.
#include "core/platform/atomicFile.h"
#include "core/storage/convert.h"
#include "core/storage/studentName.h"
#include "scratch.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    (void)PasswordProblem(typed);
    const std::string problem = StudentNameProblem(typed);
    (void)StudentFilesNamed(ScratchFolder() / files::UsersFolder, typed);
    if (!problem.empty())
        return 0;
    const auto cp = Utf8ToCp1252(typed);
    FUZZ_CHECK(cp.has_value());
    const std::string folded = FoldStudentName(*cp);
    FUZZ_CHECK(folded.size() == cp->size() && FoldStudentName(folded) == folded);
    // The profile and the longest lesson result file, each with its temporary's longer name.
    for (const std::string& file : {typed, "aula24_" + typed + ".def"})
        FUZZ_CHECK(file.size() + kTemporaryNameExtra <= kMaxFileNameBytes);
    return 0;
}
