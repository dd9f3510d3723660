#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/DeviceCommands.h"
#include "platform/Paths.h"
#include "ui/CResourceManager.h"
#include "ui/qt/QtScreenshot.h"

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
    if (cmd->Has("screenshot")) {
        int dpi = 96;
        if (cmd->Has("dpi")) {
            try {
                dpi = std::stoi(cmd->Value("dpi"));
            } catch (const std::exception&) {
                std::cerr << "telix-tx512: --dpi needs a number\n";
                return 2;
            }
        }
        auto& resources = ui::CResourceManager::GetInstance();
        resources.SetResourcePath(platform::ProgramDir() / "skin");
        resources.LoadResource("res.xml");
        const std::string language = cmd->Has("language") ? cmd->Value("language") : "lan_cn.xml";
        if (!resources.LoadLanguage(language)) {
            std::cerr << "telix-tx512: cannot load the language file '" << language << "'\n";
            return 1;
        }
        return ui::qt::RunScreenshot("XML_MAIN", cmd->Value("screenshot"), 0, 0, dpi);
    }
    std::cerr << "telix-tx512: the window is not available in this build yet; see --help.\n";
    return 1;
}
