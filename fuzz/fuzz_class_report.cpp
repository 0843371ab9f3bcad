// The class report's reading of a class whose files may hold anything: a profile, a lesson file, the
// student's result of it and the history. Every unreadable cell says why; the CSV stays UTF-8 and no
// text cell of it starts a formula.
#include "core/report/classReport.h"
#include "core/storage/convert.h"
#include "scratch.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    for (const char* old : {"users/ana", "users/=ana"}) // one student at a time in the scratch folder
        std::filesystem::remove(ScratchFolder() / old);
    const std::string name = in.ConsumeBool() ? "ana" : "=ana";
    WriteScratch("users/" + name, in.ConsumeRandomLengthString(4096));
    WriteScratch("aulas/" + files::LessonFile(1), in.ConsumeRandomLengthString(4096));
    WriteScratch("aulas/" + files::LessonResultFile(1, name), in.ConsumeRandomLengthString(4096));
    const std::string history = in.ConsumeRemainingBytesAsString();

    std::string problem;
    const auto rows = ReadClass(ScratchFolder(), &problem);
    FUZZ_CHECK(problem.empty() && rows.size() == 1);
    const auto check = [](const std::vector<TReportCell>& cells, std::size_t count) {
        FUZZ_CHECK(cells.size() == count);
        for (const TReportCell& c : cells) {
            FUZZ_CHECK(c.Problem.empty() || c.Text == kUnreadable);
            // A text field, quoted or not, never starts a formula.
            const std::string field = CsvField(c.Text);
            const std::size_t first = !field.empty() && field[0] == '"' ? 1 : 0;
            FUZZ_CHECK(field.size() <= first ||
                       std::string_view("=+-@\t\r").find(field[first]) == std::string_view::npos);
        }
    };
    check(rows[0].Cells, ClassColumns().size());
    const THistory h = ParseHistory(history);
    const auto lessons = StudentLessonRows(ScratchFolder(), rows[0], ReadLessonFacts(ScratchFolder()), &h);
    FUZZ_CHECK(lessons.size() == 24);
    for (const auto& row : lessons)
        check(row, LessonColumns().size());
    (void)CourseTimeAndSpeed(rows[0], h);
    const std::string csv = ClassCsv(rows) + CsvDocument(LessonColumns(), lessons);
    FUZZ_CHECK(Utf8CodePoints(csv).has_value());
    return 0;
}
