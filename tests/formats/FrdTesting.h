#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "model/ShellModel.h"

namespace corvelt::testing {

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline void expectSameData(const ResultData& actual, const ResultData& expected) {
    ASSERT_EQ(actual.nodes.size(), expected.nodes.size());
    for (std::size_t n = 0; n < actual.nodes.size(); ++n) {
        EXPECT_EQ(actual.nodes[n].x, expected.nodes[n].x);
        EXPECT_EQ(actual.nodes[n].y, expected.nodes[n].y);
        EXPECT_EQ(actual.nodes[n].z, expected.nodes[n].z);
    }
    EXPECT_EQ(actual.connectivity, expected.connectivity);
    ASSERT_EQ(actual.elementStresses.size(), expected.elementStresses.size());
    for (std::size_t e = 0; e < actual.elementStresses.size(); ++e)
        EXPECT_EQ(actual.elementStresses[e].surfaces, expected.elementStresses[e].surfaces);
}

}  // namespace corvelt::testing
