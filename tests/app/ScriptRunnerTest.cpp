// SPDX-License-Identifier: GPL-3.0-or-later
// The headless automation end to end: scripts of JSON lines run by ScriptRunner against a
// host made of a real message loop, a real paint manager with controls, and the simulated
// keyboard and pad on a virtual bus.
#include <gtest/gtest.h>
#include <json/json.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "app/AutomationHost.h"
#include "app/MessageBox.h"
#include "app/ScriptRunner.h"
#include "device/hid/VirtualBus.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "device/protocol/ResultCode.h"
#include "sim/SimulatedDevices.h"
#include "ui/CColorPaletteUI.h"
#include "ui/CComboUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CEditUI.h"
#include "ui/CMessageLoop.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/CSliderUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/controls/ProgramControls.h"
#include "ui/qt/IFileDialog.h"

namespace {

constexpr const char* kMainLayout = R"(<VerticalLayout>
  <Option name="opt_a" group="g" text="A"/>
  <Option name="opt_b" group="g" text="B"/>
  <Combo name="combo"><ListLabelElement text="first"/><ListLabelElement text="second"/></Combo>
  <Slider name="slider" min="0" max="100"/>
  <Edit name="edit"/>
  <Edit name="number" numberonly="true" minvalue="1" maxvalue="100"/>
  <ColorPalette name="palette" height="220"/>
  <Button name="off" enabled="false"/>
  <Label name="status"/>
  <DeviceKeyButton name="key_0" float="true" pos="10,10,50,50"/>
</VerticalLayout>)";

constexpr const char* kModalLayout = R"(<VerticalLayout>
  <Button name="ok_btn"/><Label name="status" text="in the modal window"/>
</VerticalLayout>)";

// Records every notification of a manager.
struct Recorder : ui::INotifyUI {
    struct Entry {
        std::string type;
        std::string sender;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    void Notify(ui::TNotifyUI& msg) override {
        if (msg.sType == "windowinit" || msg.sType == "timer") return;
        entries.push_back(
            {msg.sType, msg.pSender ? msg.pSender->GetName() : "", msg.wParam, msg.lParam});
    }
    std::vector<Entry> Of(const std::string& type) const {
        std::vector<Entry> out;
        for (const Entry& e : entries)
            if (e.type == type) out.push_back(e);
        return out;
    }
    std::vector<Entry> entries;
};

void Build(ui::CPaintManagerUI& pm, ui::CMessageLoop& loop, const char* xml) {
    pm.SetMessageLoop(&loop);
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(xml, nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    pm.AttachDialog(root);
    pm.SetClientSize(ui::Size{400, 600});
    pm.EnsureLayout();
}

// The program as the automation sees it. Menu items stand for what the real main window
// would do on the UI thread: exchange with the keyboard, open a modal window, ask for a
// file or show a message box.
class TestHost : public app::AutomationHost {
public:
    TestHost() {
        ui::RegisterProgramControls();
        Build(main, loop, kMainLayout);
        main.AddNotifier(&heard);
        channel.SetTimeLimits({100, 200});
        channel.Open(VendorPath());
    }
    ~TestHost() override { channel.Close(); }

    ui::CMessageLoop& Loop() override { return loop; }
    ui::CControlUI* FindControl(std::string_view name, ui::CPaintManagerUI** manager) override {
        for (ui::CPaintManagerUI* pm : {modal.get(), &main}) {
            if (pm == nullptr) continue;
            if (ui::CControlUI* control = pm->FindControl(name)) {
                if (manager != nullptr) *manager = pm;
                return control;
            }
        }
        return nullptr;
    }
    bool ChooseMenuItem(std::string_view item) override {
        menus.emplace_back(item);
        if (item == "begin") results.push_back(commands.BeginConfig());
        if (item == "timer") {
            loop.SetTimer(this, 7, 40, [this] {
                loop.KillTimer(this, 7);
                main.FindControl("status")->SetText("fired");
            });
        }
        if (item == "modal") RunModalWindow();
        if (item == "open") {
            chosen.push_back(ui::qt::IFileDialog::Ask({}).value_or("<cancelled>"));
        }
        if (item == "ask") boxAnswers.push_back(app::ShowKeyedMessage(0, "message_text_22", 96, 1));
        return item != "gone";
    }
    sim::SimDevice* SimulatedDevice(std::string_view which) override {
        if (which == "keyboard") return devices.keyboard.get();
        if (which == "pad") return devices.pad.get();
        return nullptr;
    }
    device::VirtualBus* Bus() override { return &bus; }
    void Quit() override {
        ++quits;
        loop.PostQuitMessage(0);
    }

    std::string VendorPath() {
        for (const std::string& p : bus.PathsOf(*devices.keyboard))
            if (p.find("&mi_01&col04") != std::string::npos) return p;
        return {};
    }

    // A modal window as the library runs one: a nested loop until its button is clicked.
    void RunModalWindow() {
        modal = std::make_unique<ui::CPaintManagerUI>();
        Build(*modal, loop, kModalLayout);
        struct Closer : ui::INotifyUI {
            bool closed = false;
            void Notify(ui::TNotifyUI& msg) override {
                if (msg.sType == "click" && msg.pSender->GetName() == "ok_btn") closed = true;
            }
        } closer;
        modal->AddNotifier(&closer);
        modalEnded = loop.RunModal([&closer] { return closer.closed; });
        modal.reset();
    }

    ui::CMessageLoop loop;
    ui::CPaintManagerUI main;
    std::unique_ptr<ui::CPaintManagerUI> modal;
    Recorder heard;
    device::VirtualBus bus;
    sim::SimulatedDevices devices = sim::PlugSimulatedDevices(bus);
    device::CommandChannel channel{bus.Backend()};
    device::CommandSet commands{channel};
    std::vector<std::string> menus;
    std::vector<int> results;
    std::vector<std::string> chosen;
    std::vector<int> boxAnswers;
    bool modalEnded = false;
    int quits = 0;
};

class ScriptRunnerTest : public ::testing::Test {
protected:
    // Runs `script` to its end; the answers, one per line.
    std::vector<Json::Value> Run(const std::string& script) {
        std::istringstream in(script);
        std::ostringstream out;
        app::ScriptRunner runner(host, in, out);
        exitCode = runner.Run();
        output = out.str();
        std::vector<Json::Value> answers;
        std::istringstream lines(output);
        Json::CharReaderBuilder builder;
        for (std::string line; std::getline(lines, line);) {
            Json::Value value;
            std::string errors;
            std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
            EXPECT_TRUE(reader->parse(line.data(), line.data() + line.size(), &value, &errors))
                << line;
            answers.push_back(value);
        }
        return answers;
    }
    template <class T>
    T* Find(const char* name) {
        return dynamic_cast<T*>(host.main.FindControl(name));
    }

    TestHost host;
    int exitCode = -1;
    std::string output;
};

TEST_F(ScriptRunnerTest, BadLinesAreAnsweredAndTheScriptGoesOn) {
    const std::string tooLong(app::ScriptRunner::kMaxLineBytes + 10, 'x');
    auto answers = Run(
        "# a comment, then a blank line\n"
        "\n"
        "{\"cmd\":\"get\",\"control\":\"slider\"\n"
        "[1,2]\n"
        "{\"cmd\":\"dance\"}\n"
        "{\"control\":\"slider\"}\n"
        "{\"cmd\":\"get\"}\n"
        "{\"cmd\":\"notify\",\"control\":\"slider\",\"type\":\"valuechanged\",\"value\":\"7\"}\n" +
        tooLong + "\n" +
        "{\"cmd\":\"get\",\"control\":\"nothing_here\"}\r\n"
        "   {\"cmd\":\"get\",\"control\":\"slider\"}");  // no newline at the end
    ASSERT_EQ(answers.size(), 9u) << output;
    const std::vector<std::string> expected = {
        "malformed JSON",     "must be a JSON object",        "unknown command dance",
        "missing member cmd", "missing member control",       "member value must be an integer",
        "line longer than",   "no control named nothing_here"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FALSE(answers[i]["ok"].asBool()) << i;
        EXPECT_NE(answers[i]["error"].asString().find(expected[i]), std::string::npos)
            << answers[i]["error"].asString();
    }
    EXPECT_TRUE(answers[8]["ok"].asBool());
    EXPECT_EQ(answers[8]["class"], "Slider");
    EXPECT_TRUE(host.heard.Of("valuechanged").empty());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(host.quits, 1);  // the end of the script quits the program
}

TEST_F(ScriptRunnerTest, NotifySetsTheStateAndRaisesTheNotificationOnce) {
    auto answers = Run(R"({"cmd":"notify","control":"combo","type":"itemselect","index":1}
{"cmd":"notify","control":"opt_b","type":"selectchanged","selected":true}
{"cmd":"notify","control":"slider","type":"valuechanged","value":40}
{"cmd":"notify","control":"slider","type":"movevaluechanged","value":500}
{"cmd":"notify","control":"edit","type":"textchanged","text":"héllo"}
{"cmd":"notify","control":"number","type":"killfocus","text":"5000"}
{"cmd":"notify","control":"palette","type":"colorchanged","color":"#FFFF0000"}
{"cmd":"notify","control":"opt_a","type":"click"}
{"cmd":"notify","control":"combo","type":"itemselect","index":2}
{"cmd":"notify","control":"off","type":"click"}
{"cmd":"notify","control":"off","type":"click","force":true}
)");
    ASSERT_EQ(answers.size(), 11u) << output;
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 10}) EXPECT_TRUE(answers[i]["ok"].asBool()) << i;
    EXPECT_NE(answers[8]["error"].asString().find("between 0 and 1"), std::string::npos);
    EXPECT_NE(answers[9]["error"].asString().find("disabled"), std::string::npos);

    auto itemselect = host.heard.Of("itemselect");
    ASSERT_EQ(itemselect.size(), 1u);  // not the combo's own as well
    EXPECT_EQ(itemselect[0].wParam, 1u);
    EXPECT_EQ(itemselect[0].lParam, -1);  // the old selection
    EXPECT_EQ(Find<ui::CComboUI>("combo")->GetCurSel(), 1);

    // opt_b by "selectchanged", then opt_a by a click: the click selects it as a real one.
    auto selectchanged = host.heard.Of("selectchanged");
    ASSERT_EQ(selectchanged.size(), 2u);
    EXPECT_EQ(selectchanged[0].sender, "opt_b");
    EXPECT_EQ(selectchanged[0].wParam, 1u);
    EXPECT_EQ(selectchanged[1].sender, "opt_a");
    EXPECT_TRUE(Find<ui::COptionUI>("opt_a")->IsSelected());
    EXPECT_FALSE(Find<ui::COptionUI>("opt_b")->IsSelected());

    EXPECT_EQ(host.heard.Of("valuechanged").size(), 1u);
    EXPECT_EQ(host.heard.Of("movevaluechanged").size(), 1u);
    EXPECT_EQ(Find<ui::CSliderUI>("slider")->GetValue(), 100);  // clamped as a drag would be

    EXPECT_EQ(host.heard.Of("textchanged").size(), 1u);
    EXPECT_EQ(Find<ui::CEditUI>("edit")->GetText(), "héllo");
    // Leaving a number field clamps it before the window hears "killfocus".
    EXPECT_EQ(host.heard.Of("killfocus").size(), 1u);
    EXPECT_EQ(Find<ui::CEditUI>("number")->GetText(), "100");

    auto colour = host.heard.Of("colorchanged");
    ASSERT_EQ(colour.size(), 1u);
    EXPECT_EQ(colour[0].wParam, 0xFFFF0000u);
    EXPECT_EQ(Find<ui::CColorPaletteUI>("palette")->GetSelectColor(), 0xFFFF0000u);

    // The forced click on the disabled button is the only click it raised.
    auto clicks = host.heard.Of("click");
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].sender, "opt_a");
    EXPECT_EQ(clicks[1].sender, "off");
}

TEST_F(ScriptRunnerTest, GetReportsWhatTheUserSees) {
    Find<ui::CComboUI>("combo")->SelectItem(0, false, false);
    Find<ui::COptionUI>("opt_b")->Selected(true, false);
    Find<ui::CSliderUI>("slider")->SetValue(33);
    Find<ui::CEditUI>("edit")->SetText("typed");
    Find<ui::CEditUI>("number")->SetVisible(false);
    const std::uint32_t word = 0x11u | 0x33u << 8 | 0x22u << 16;
    Find<ui::CDeviceKeyButtonUI>("key_0")->SetLightColour(word, 128, true);

    auto answers = Run(R"({"cmd":"get","control":"combo"}
{"cmd":"get","control":"opt_b"}
{"cmd":"get","control":"slider"}
{"cmd":"get","control":"edit"}
{"cmd":"get","control":"number"}
{"cmd":"get","control":"off"}
{"cmd":"get","control":"key_0"}
)");
    ASSERT_EQ(answers.size(), 7u) << output;
    EXPECT_EQ(answers[0]["class"], "Combo");
    EXPECT_EQ(answers[0]["text"], "first");
    EXPECT_EQ(answers[0]["cursel"], 0);
    ASSERT_EQ(answers[0]["items"].size(), 2u);
    EXPECT_EQ(answers[0]["items"][1], "second");
    EXPECT_TRUE(answers[1]["selected"].asBool());
    EXPECT_EQ(answers[1]["text"], "B");
    EXPECT_EQ(answers[2]["value"], 33);
    EXPECT_EQ(answers[2]["max"], 100);
    EXPECT_EQ(answers[3]["text"], "typed");
    EXPECT_FALSE(answers[4]["visible"].asBool());
    EXPECT_TRUE(answers[4]["enabled"].asBool());
    EXPECT_FALSE(answers[5]["enabled"].asBool());
    EXPECT_EQ(answers[6]["class"], "DeviceKeyButton");
    EXPECT_EQ(answers[6]["light"]["color"].asUInt(), word);
    EXPECT_EQ(answers[6]["light"]["alpha"], 128);
    EXPECT_TRUE(answers[6]["light"]["overlay"].asBool());
    // State reads raise nothing.
    EXPECT_TRUE(host.heard.entries.empty());
}

TEST_F(ScriptRunnerTest, WireLogReportsEachReportOnceAndInOrder) {
    ASSERT_TRUE(host.channel.IsOpen());
    auto answers = Run(R"({"cmd":"sim","device":"keyboard","op":"wirelog"}
{"cmd":"menu","item":"begin"}
{"cmd":"sim","device":"keyboard","op":"wirelog"}
{"cmd":"sim","device":"keyboard","op":"event","usage":1025}
{"cmd":"sim","device":"keyboard","op":"wirelog"}
{"cmd":"sim","device":"keyboard","op":"wirelog"}
{"cmd":"sim","device":"pad","op":"wirelog"}
)");
    ASSERT_EQ(answers.size(), 7u) << output;
    EXPECT_EQ(answers[0]["log"].size(), 0u);  // plugging is no report
    const Json::Value& exchange = answers[2]["log"];
    ASSERT_EQ(exchange.size(), 2u);
    EXPECT_EQ(exchange[0]["dir"], "out");
    EXPECT_EQ(exchange[1]["dir"], "in");
    const std::string request = exchange[0]["hex"].asString();
    const std::string reply = exchange[1]["hex"].asString();
    EXPECT_EQ(request.size(), 128u);
    EXPECT_EQ(request.substr(0, 2), "04");
    EXPECT_EQ(reply.substr(6, 2), request.substr(6, 2));  // the echoed command
    EXPECT_EQ(reply.substr(14, 2), "01");                 // status: done
    // A 3-byte event comes padded to 64 bytes.
    ASSERT_EQ(answers[4]["log"].size(), 1u);
    EXPECT_EQ(answers[4]["log"][0]["dir"], "in");
    EXPECT_EQ(answers[4]["log"][0]["hex"], "030104" + std::string(122, '0'));
    EXPECT_EQ(answers[5]["log"].size(), 0u);
    EXPECT_EQ(answers[6]["log"].size(), 0u);
}

TEST_F(ScriptRunnerTest, FaultsActOnTheNextCommands) {
    auto answers = Run(R"({"cmd":"sim","device":"keyboard","op":"fault","fault":"status_ff"}
{"cmd":"menu","item":"begin"}
{"cmd":"menu","item":"begin"}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"noreply","count":2}
{"cmd":"menu","item":"begin"}
{"cmd":"menu","item":"begin"}
{"cmd":"menu","item":"begin"}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"status_fe"}
{"cmd":"sim","device":"keyboard","op":"wirelog"}
{"cmd":"menu","item":"begin"}
{"cmd":"sim","device":"keyboard","op":"wirelog"}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"melt"}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"noreply","count":0}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"badecho"}
{"cmd":"menu","item":"begin"}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"slow"}
{"cmd":"menu","item":"begin"}
{"cmd":"sim","device":"keyboard","op":"fault","fault":"unplug_mid"}
{"cmd":"menu","item":"begin"}
)");
    ASSERT_EQ(answers.size(), 19u) << output;
    ASSERT_EQ(host.results.size(), 9u);
    EXPECT_EQ(
        std::vector<int>(host.results.begin(), host.results.begin() + 8),
        (std::vector<int>{device::kResultStatusFF, device::kResultSuccess, device::kResultNoReply,
                          device::kResultNoReply, device::kResultSuccess, device::kResultStatusFE,
                          // a stray echo is skipped; 1500 ms is beyond the 100 ms wait
                          device::kResultSuccess, device::kResultNoReply}));
    EXPECT_NE(host.results[8], device::kResultSuccess);
    EXPECT_TRUE(host.bus.PathsOf(*host.devices.keyboard).empty());
    const Json::Value& log = answers[10]["log"];
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1]["hex"].asString().substr(14, 2), "fe");
    EXPECT_FALSE(answers[11]["ok"].asBool());
    EXPECT_FALSE(answers[12]["ok"].asBool());
}

TEST_F(ScriptRunnerTest, MemoryIsEveryAreaWholeInLowerCaseHex) {
    auto answers = Run(R"({"cmd":"sim","device":"keyboard","op":"memory"}
{"cmd":"sim","device":"pad","op":"memory"}
{"cmd":"sim","device":"mouse","op":"memory"}
)");
    ASSERT_EQ(answers.size(), 3u) << output;
    host.devices.keyboard->Inspect([&](const sim::Firmware& fw) {
        const Json::Value& a = answers[0];
        EXPECT_EQ(a["info"].asString().size(), 2 * fw.InfoBlock().Size());
        EXPECT_EQ(a["keytable"].asString().size(), 2 * fw.KeyTable().Size());
        EXPECT_EQ(a["ledmap"].asString().size(), 2 * fw.LedMap().Size());
        EXPECT_EQ(a["settings"].asString().size(), 2 * fw.Settings().Size());
        EXPECT_EQ(a["macro"].asString().size(), 2 * fw.MacroMemory().Size());
        EXPECT_EQ(a["colours"].asString().size(), 2 * fw.Colours().Size());
        // Spelled out apart from the runner's own encoder, so that a fault in it shows.
        std::string info;
        for (std::uint8_t byte : fw.InfoBlock().Bytes()) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02x", byte);
            info += digits;
        }
        EXPECT_EQ(a["info"], info);
    });
    for (const char* area : {"info", "keytable", "ledmap", "settings", "macro", "colours"}) {
        const std::string hex = answers[0][area].asString();
        EXPECT_FALSE(hex.empty()) << area;
        EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos) << area;
    }
    EXPECT_TRUE(answers[1]["ok"].asBool());
    EXPECT_FALSE(answers[2]["ok"].asBool());
}

TEST_F(ScriptRunnerTest, PlugUnplugAndEventsNeedTheDeviceOnTheBus) {
    auto answers = Run(R"({"cmd":"sim","device":"pad","op":"plug"}
{"cmd":"sim","device":"pad","op":"unplug"}
{"cmd":"sim","device":"pad","op":"unplug"}
{"cmd":"sim","device":"pad","op":"event","usage":1025}
{"cmd":"sim","device":"pad","op":"plug"}
{"cmd":"sim","device":"pad","op":"event","usage":70000}
)");
    ASSERT_EQ(answers.size(), 6u) << output;
    EXPECT_NE(answers[0]["error"].asString().find("already plugged"), std::string::npos);
    EXPECT_TRUE(answers[1]["ok"].asBool());
    EXPECT_FALSE(answers[2]["ok"].asBool());
    EXPECT_FALSE(answers[3]["ok"].asBool());
    EXPECT_TRUE(answers[4]["ok"].asBool());
    EXPECT_FALSE(answers[5]["ok"].asBool());
    EXPECT_FALSE(host.bus.PathsOf(*host.devices.pad).empty());
}

TEST_F(ScriptRunnerTest, WaitLetsTimersFireAndTimePass) {
    const auto start = std::chrono::steady_clock::now();
    auto answers = Run(R"({"cmd":"menu","item":"timer"}
{"cmd":"get","control":"status"}
{"cmd":"wait","ms":120}
{"cmd":"get","control":"status"}
{"cmd":"wait","ms":-1}
)");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(answers.size(), 5u) << output;
    EXPECT_EQ(answers[1]["text"], "");
    EXPECT_TRUE(answers[2]["ok"].asBool());
    EXPECT_EQ(answers[3]["text"], "fired");
    EXPECT_FALSE(answers[4]["ok"].asBool());
    EXPECT_GE(elapsed, std::chrono::milliseconds(120));
}

TEST_F(ScriptRunnerTest, ModalWindowsAnswerAtOnceAndTakeTheNextCommands) {
    auto answers = Run(R"({"cmd":"menu","item":"modal"}
{"cmd":"get","control":"status"}
{"cmd":"notify","control":"ok_btn","type":"click"}
{"cmd":"get","control":"status"}
)");
    ASSERT_EQ(answers.size(), 4u) << output;
    EXPECT_TRUE(answers[0]["ok"].asBool());
    EXPECT_TRUE(answers[0]["modal"].asBool());
    EXPECT_EQ(answers[1]["text"], "in the modal window");  // the modal window comes first
    EXPECT_TRUE(answers[2]["ok"].asBool());
    EXPECT_FALSE(answers[2].isMember("modal"));
    EXPECT_EQ(answers[3]["text"], "");  // closed: the main window's label again
    EXPECT_TRUE(host.modalEnded);
}

TEST_F(ScriptRunnerTest, QuitEndsTheRunWithItsCodeAndNothingAfterItRuns) {
    auto answers = Run(R"({"cmd":"menu","item":"first"}
{"cmd":"quit","code":3}
{"cmd":"menu","item":"second"}
)");
    ASSERT_EQ(answers.size(), 2u) << output;
    EXPECT_TRUE(answers[1]["ok"].asBool());
    EXPECT_EQ(exitCode, 3);
    EXPECT_EQ(host.quits, 1);
    EXPECT_EQ(host.menus, std::vector<std::string>{"first"});
}

TEST_F(ScriptRunnerTest, AnEmptyScriptEndsTheRun) {
    EXPECT_TRUE(Run("").empty());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(host.quits, 1);
}

// A script source with nothing to say until released, like a tool that is still thinking.
class StalledScript : public std::streambuf {
public:
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        cv_.notify_all();
    }

protected:
    int_type underflow() override {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return released_; });
        return traits_type::eof();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool released_ = false;
};

TEST_F(ScriptRunnerTest, TheProgramEndingByItselfEndsTheRunWhileTheScriptIsSilent) {
    // The reader is left blocked in its read: the script outlives the test.
    struct Silent {
        StalledScript source;
        std::istream in{&source};
    };
    // Never destroyed: the left-behind reader may still be returning from its read when
    // the process ends (as the program's std::cin is never destroyed under its reader).
    static auto* kept = new std::vector<std::unique_ptr<Silent>>();
    Silent& script = *kept->emplace_back(std::make_unique<Silent>());
    std::ostringstream out;
    host.loop.SetTimer(&host, 9, 30, [this] { host.loop.PostQuitMessage(0); });
    const auto start = std::chrono::steady_clock::now();
    app::ScriptRunner runner(host, script.in, out);
    EXPECT_EQ(runner.Run(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(host.quits, 0);
    script.source.Release();
}

TEST_F(ScriptRunnerTest, MenuAndFileDialogs) {
    auto answers = Run(R"({"cmd":"dialog","path":"/tmp/a.json"}
{"cmd":"menu","item":"open"}
{"cmd":"dialog","cancel":true}
{"cmd":"menu","item":"open"}
{"cmd":"menu","item":"open"}
{"cmd":"dialogs"}
{"cmd":"dialog"}
{"cmd":"menu","item":"gone"}
)");
    ASSERT_EQ(answers.size(), 8u) << output;
    EXPECT_EQ(host.chosen, (std::vector<std::string>{"/tmp/a.json", "<cancelled>", "<cancelled>"}));
    EXPECT_EQ(answers[5]["dialogs"].size(), 3u);
    EXPECT_FALSE(answers[6]["ok"].asBool());
    EXPECT_FALSE(answers[7]["ok"].asBool());
    // The program's own dialog is back once the run is over.
    EXPECT_EQ(ui::qt::IFileDialog::Current(), nullptr);
}

TEST_F(ScriptRunnerTest, MessageBoxesAreAnsweredFromTheScriptAndListed) {
    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    resources.Release();
    ui::CDialogBuilder::ClearCache();
    resources.SetResourcePath(std::filesystem::path(TX512_SOURCE_DIR) / "resources" / "skin");
    ASSERT_TRUE(resources.LoadResource("res.xml"));
    ASSERT_TRUE(resources.LoadLanguage("lan_en.xml"));

    auto answers = Run(R"({"cmd":"answer","result":1}
{"cmd":"menu","item":"ask"}
{"cmd":"menu","item":"ask"}
{"cmd":"messages"}
{"cmd":"messages"}
{"cmd":"answer","result":2}
)");
    resources.Release();
    ASSERT_EQ(answers.size(), 6u) << output;
    EXPECT_EQ(host.boxAnswers, (std::vector<int>{1, 0}));  // the second had no answer left
    const Json::Value& shown = answers[3]["messages"];
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0]["key"], "message_text_22");
    EXPECT_FALSE(shown[0]["text"].asString().empty());
    EXPECT_NE(shown[0]["text"], "message_text_22");  // translated
    EXPECT_EQ(shown[0]["answer"], 1);
    EXPECT_EQ(answers[4]["messages"].size(), 0u);
    EXPECT_FALSE(answers[5]["ok"].asBool());
    EXPECT_FALSE(app::MessageBoxScript::IsInstalled());
}

}  // namespace
