#include "ResultTextBuilder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <fstream>

namespace corvelt::testing {

ResultData twoElementModel() {
    ResultData data;
    data.nodes = {{0, 0, 0}, {1, 0, 0.5}, {2, 0, 0}, {0, 1, -0.5}, {1, 1, 0}, {2, 1, 0.25}};
    data.connectivity = {0, 1, 4, 3, 1, 2, 5, 4};
    data.elementStresses.resize(2);
    for (int e = 0; e < 2; ++e)
        for (int s = 0; s < 2; ++s)
            for (int c = 0; c < 4; ++c)
                for (int k = 0; k < stressComponentCount; ++k) {
                    const double magnitude = e * 100 + s * 50 + c * 10 + k + 0.25;
                    // Odd components negative, component 0 of corner 0 below one.
                    const double value = (c == 0 && k == 0) ? 0.5 + 0.125 * (2 * e + s) : magnitude;
                    data.elementStresses[e].surfaces[s][c][k] = (k % 2 == 1) ? -value : value;
                }
    return data;
}

std::string shortest(double value) {
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

namespace {

template <typename Values, typename Spell>
std::string line(const Values& values, const Spell& spell, const TextStyle& style) {
    std::string text;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (k > 0) text += "," + style.afterComma;
        text += spell(values[k]);
    }
    return text + style.lineEnd + style.betweenLines;
}

}  // namespace

std::string buildText(const ResultData& data, const TextStyle& style) {
    const auto spellReal = style.spellReal ? style.spellReal : shortest;
    const auto spellInteger = style.spellInteger ? style.spellInteger : [](long long value) {
        return std::to_string(value);
    };
    std::string text =
        "NPOIN=" + std::to_string(data.nodes.size()) + style.lineEnd + style.betweenLines;
    text +=
        "NELEM=" + std::to_string(data.elementStresses.size()) + style.lineEnd + style.betweenLines;
    for (const Point3D& p : data.nodes)
        text += line(std::array<double, 3>{p.x, p.y, p.z}, spellReal, style);
    for (std::size_t e = 0; e < data.elementStresses.size(); ++e) {
        std::array<long long, 4> corners{};
        for (int j = 0; j < 4; ++j)
            corners[j] = data.connectivity[e * 4 + j];
        text += line(corners, spellInteger, style);
        for (int c = 0; c < 4; ++c)
            for (int s = 0; s < 2; ++s)
                text += line(data.elementStresses[e].surfaces[s][c], spellReal, style);
    }
    return text;
}

std::string plainText(const ResultData& data) {
    return buildText(data, {});
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return text;
}

ScratchDirectory::ScratchDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "corvelt-model-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchDirectory::write(const std::string& name,
                                              const std::string& content) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

void expectSameData(const ResultData& actual, const ResultData& expected) {
    ASSERT_EQ(actual.nodes.size(), expected.nodes.size());
    for (std::size_t i = 0; i < expected.nodes.size(); ++i) {
        EXPECT_EQ(actual.nodes[i].x, expected.nodes[i].x) << "node " << i;
        EXPECT_EQ(actual.nodes[i].y, expected.nodes[i].y) << "node " << i;
        EXPECT_EQ(actual.nodes[i].z, expected.nodes[i].z) << "node " << i;
    }
    EXPECT_EQ(actual.connectivity, expected.connectivity);
    ASSERT_EQ(actual.elementStresses.size(), expected.elementStresses.size());
    for (std::size_t e = 0; e < expected.elementStresses.size(); ++e)
        EXPECT_EQ(actual.elementStresses[e].surfaces, expected.elementStresses[e].surfaces)
            << "element " << e;
}

}  // namespace corvelt::testing
