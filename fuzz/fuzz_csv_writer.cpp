// The class report's CSV: whatever the cells hold, the document reads back as the same rows and
// fields (quoting undone), stays UTF-8, and no text field starts a formula.
#include "core/report/classReport.h"
#include "core/storage/convert.h"
#include "scratch.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string_view>

namespace {
// The fields of a CSV text as a spreadsheet reads them: ";" between fields, CR LF between rows,
// quoted fields with doubled quotes.
std::vector<std::vector<std::string>> readBack(std::string_view csv) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    for (std::size_t i = 0; i < csv.size(); ++i) {
        std::string& field = rows.back().back();
        if (csv[i] == '"' && field.empty()) {
            for (++i; i < csv.size(); ++i) {
                if (csv[i] == '"' && i + 1 < csv.size() && csv[i + 1] == '"')
                    field += csv[++i];
                else if (csv[i] == '"')
                    break;
                else
                    field += csv[i];
            }
        } else if (csv[i] == ';') {
            rows.back().emplace_back();
        } else if (csv[i] == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else {
            field += csv[i];
        }
    }
    rows.pop_back(); // after the last CR LF
    return rows;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t columns = in.ConsumeIntegralInRange<std::size_t>(1, 5);
    std::vector<std::string> header;
    for (std::size_t c = 0; c < columns; ++c)
        header.push_back(in.ConsumeRandomLengthString(16));
    std::vector<std::vector<TReportCell>> rows;
    while (in.remaining_bytes() > 0 && rows.size() < 50) {
        std::vector<TReportCell> row(columns);
        for (TReportCell& cell : row) {
            cell.Numeric = in.ConsumeBool();
            cell.Text = in.ConsumeRandomLengthString(24);
        }
        rows.push_back(std::move(row));
    }
    const std::string csv = CsvDocument(header, rows);
    FUZZ_CHECK(csv.rfind("\xEF\xBB\xBF", 0) == 0 && Utf8CodePoints(csv).has_value());
    const auto back = readBack(std::string_view(csv).substr(3));
    FUZZ_CHECK(back.size() == rows.size() + 1);
    for (std::size_t r = 0; r < back.size(); ++r) {
        FUZZ_CHECK(back[r].size() == columns);
        for (std::size_t c = 0; c < columns; ++c) {
            const bool number = r > 0 && rows[r - 1][c].Numeric;
            const std::string written = Utf8Repaired(r == 0 ? header[c] : rows[r - 1][c].Text);
            const std::string& field = back[r][c];
            // As written, or with the apostrophe that keeps a text from being a formula.
            FUZZ_CHECK(field == written || (!number && field == "'" + written));
            if (!number)
                FUZZ_CHECK(field.empty() ||
                           std::string_view("=+-@\t\r").find(field[0]) == std::string_view::npos);
        }
    }
    return 0;
}
