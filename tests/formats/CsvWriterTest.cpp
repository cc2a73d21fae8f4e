// The table read back: every row in order, every number exactly and in its
// shortest form.

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "ExportModels.h"
#include "app/TestMeshes.h"
#include "base/NumberFormat.h"
#include "formats/CsvWriter.h"
#include "model/PrincipalStress.h"

namespace corvelt {
namespace {

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

// The row a reader expects for one element corner and surface: the integers, then
// the doubles.
struct ExpectedRow {
    std::vector<std::int64_t> integers;  // element, corner, node
    std::vector<double> numbers;         // x, y, z; surface comes between
    int surface;
};

ExpectedRow expectedRow(const ShellModel& model, std::int32_t e, int corner, int surface) {
    const std::int32_t node = model.elementCorners(e)[corner];
    const Point3D& p = model.nodes[static_cast<std::size_t>(node)];
    const StressRecord& stress = model.elementStresses[static_cast<std::size_t>(e)]
                                     .surfaces[static_cast<std::size_t>(surface)][corner];
    const PrincipalStresses principal = principalStresses(stress);
    ExpectedRow row{{e, corner, node}, {p.x, p.y, p.z}, surface + 1};
    row.numbers.insert(row.numbers.end(), stress.begin(), stress.end());
    row.numbers.insert(row.numbers.end(),
                       {principal.p1, principal.p2, principal.p3, principal.intensity});
    return row;
}

// Compares one line with the row, field by field; returns what differs.
std::string compareRow(std::string_view line, const ExpectedRow& row) {
    const std::vector<std::string_view> fields = split(line, ',');
    if (fields.size() != 18) return "has " + std::to_string(fields.size()) + " fields";
    std::vector<std::string> expectedTexts;
    for (const std::int64_t value : row.integers)
        expectedTexts.push_back(std::to_string(value));
    for (std::size_t k = 0; k < row.numbers.size(); ++k) {
        if (k == 3) expectedTexts.push_back(std::to_string(row.surface));
        expectedTexts.push_back(formatShortest(row.numbers[k]));
    }
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (fields[k] != expectedTexts[k])
            return "field " + std::to_string(k) + " is " + std::string(fields[k]) + ", not " +
                   expectedTexts[k];
    // Read back as a spreadsheet would: the same doubles, bit for bit.
    for (std::size_t k = 0; k < row.numbers.size(); ++k) {
        const std::string_view text = fields[k < 3 ? k + 3 : k + 4];
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        if (!testing::sameDouble(value, row.numbers[k]))
            return "field " + std::string(text) + " reads back differently";
    }
    return {};
}

TEST(CsvWriter, EverySelectedCornerAndSurfaceReadsBackExactly) {
    // Several chunks, every third element unselected.
    const ShellModel model = testing::exportModel(1700);
    const testing::TempDir dir;
    writeCsv(model, dir.file("table.csv"));
    const std::string text = testing::readText(dir.file("table.csv"));
    ASSERT_TRUE(text.starts_with(csvHeader));
    ASSERT_TRUE(text.ends_with('\n'));
    std::vector<std::string_view> lines =
        split(std::string_view(text).substr(csvHeader.size()), '\n');
    lines.pop_back();  // after the last line end

    std::size_t line = 0;
    for (std::int32_t e = 0; e < model.elementCount(); ++e) {
        if (model.elementSelected[static_cast<std::size_t>(e)] == 0) continue;
        for (int corner = 0; corner < 4; ++corner)
            for (int surface = 0; surface < 2; ++surface, ++line) {
                ASSERT_LT(line, lines.size());
                const std::string fault =
                    compareRow(lines[line], expectedRow(model, e, corner, surface));
                ASSERT_EQ(fault, "") << "element " << e << " corner " << corner << " surface "
                                     << surface + 1 << ": " << lines[line];
            }
    }
    EXPECT_EQ(line, lines.size());
}

TEST(CsvWriter, NoSelectedElementLeavesTheHeader) {
    ShellModel model = testing::exportModel(5);
    model.elementSelected.assign(model.elementSelected.size(), 0);
    const testing::TempDir dir;
    writeCsv(model, dir.file("empty.csv"));
    EXPECT_EQ(testing::readText(dir.file("empty.csv")), csvHeader);
}

}  // namespace
}  // namespace corvelt
