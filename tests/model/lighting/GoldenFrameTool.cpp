// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the golden frames: golden-frame-tool <folder>. Run it only after a deliberate
// change of behaviour, and look at the changed values by hand before checking them in.
#include <fstream>
#include <iostream>

#include "model/lighting/GoldenScenarios.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <golden folder>\n";
        return 2;
    }
    for (const auto& scenario : lighting::test::GoldenScenarios()) {
        const std::string path = std::string(argv[1]) + "/" + scenario.name + ".txt";
        std::ofstream file(path, std::ios::binary);
        file << lighting::test::RenderGoldenFrame(scenario.name);
        if (!file) {
            std::cerr << "cannot write " << path << "\n";
            return 1;
        }
        std::cout << path << "\n";
    }
    return 0;
}
