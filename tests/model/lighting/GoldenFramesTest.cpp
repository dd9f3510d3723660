// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "model/lighting/GoldenScenarios.h"

namespace lighting::test {

// Names the scenario in test output instead of dumping its bytes.
inline void PrintTo(const GoldenScenario& scenario, std::ostream* os) {
    *os << scenario.name;
}

namespace {

std::string ReadGolden(const std::string& name) {
    const char* root = std::getenv("TX512_SOURCE_DIR");
    const std::string folder = root ? std::string(root) + "/tests/model/lighting/golden"
                                    : std::string(TX512_LIGHTING_GOLDEN_DIR);
    const std::string path = folder + "/" + name + ".txt";
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class GoldenFrames : public ::testing::TestWithParam<GoldenScenario> {};

TEST_P(GoldenFrames, ColourBufferMatchesTheCheckedInFrame) {
    const std::string expected = ReadGolden(GetParam().name);
    ASSERT_FALSE(expected.empty()) << "missing golden/" << GetParam().name << ".txt";
    const std::string actual = RenderGoldenFrame(GetParam().name);
    // Line by line, so that a failure names the LED.
    std::istringstream want(expected);
    std::istringstream got(actual);
    std::string a;
    std::string b;
    int line = 0;
    while (std::getline(want, a)) {
        ++line;
        ASSERT_TRUE(std::getline(got, b)) << "frame ends early at line " << line;
        EXPECT_EQ(b, a) << "line " << line;
    }
    EXPECT_FALSE(std::getline(got, b)) << "frame has more lines than the golden file";
}

INSTANTIATE_TEST_SUITE_P(Lighting, GoldenFrames, ::testing::ValuesIn(GoldenScenarios()),
                         [](const auto& param) { return param.param.name; });

}  // namespace
}  // namespace lighting::test
