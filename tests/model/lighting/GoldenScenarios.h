// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Known starting states run through the light loop for a number of passes; the colour
// buffer afterwards is checked in under golden/ so that any change of behaviour shows.
// GoldenFrameTool writes the files; GoldenFramesTest compares against them.
#include <string>
#include <vector>

namespace lighting::test {

struct GoldenScenario {
    std::string name;         // the file is golden/<name>.txt
    std::string description;  // its first line
};

std::vector<GoldenScenario> GoldenScenarios();

// The file text of a scenario: a comment line, a column line, then "led red green blue
// alpha" per LED of the device.
std::string RenderGoldenFrame(const std::string& name);

}  // namespace lighting::test
