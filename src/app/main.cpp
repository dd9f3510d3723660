#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/DeviceCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto cmd = app::ParseCommandLine(args, error);
    if (!cmd) {
        std::cerr << "telix-tx512: " << error << "\nTry 'telix-tx512 --help'.\n";
        return 2;
    }
    if (cmd->Has("help")) {
        std::cout << app::HelpText();
        return 0;
    }
    if (cmd->Has("version")) {
        std::cout << app::VersionText();
        return 0;
    }
    if (cmd->Has("list-devices")) return app::RunListDevices(cmd->Has("simulate"), std::cout);
    if (cmd->Has("diagnose")) return app::RunDiagnose(std::cout);
    std::cerr << "telix-tx512: the window is not available in this build yet; see --help.\n";
    return 1;
}
