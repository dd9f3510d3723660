// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ControlName.h"
#include "app/NotifyRouter.h"
#include "app/RouteTable.h"
#include "app/ShellOperations.h"
#include "platform/Trace.h"
#include "ui/CButtonUI.h"

namespace {

struct Called {
    std::string op;
    std::string name;
    long n;
    int arg;
    bool operator==(const Called&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Called& c) {
    return os << c.op << "(" << c.name << ", n=" << c.n << ", arg=" << c.arg << ")";
}

// A router whose every operation records its call.
class RouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const app::RouteRow& row : app::RouteTable()) {
            const std::string id(row.operation);
            operations.Register(id, [this, id](const app::RouteCall& call) {
                calls.push_back({id, std::string(call.name), call.n, call.arg});
            });
        }
    }

    // Raises `type` from a control named `name`; returns whether the default is skipped.
    bool Raise(const std::string& type, const std::string& name) {
        ui::CButtonUI sender;
        sender.SetName(name);
        ui::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = &sender;
        return router.Route(msg);
    }
    std::vector<Called> Take() { return std::exchange(calls, {}); }

    app::ShellOperations operations;
    app::NotifyRouter router{operations};
    std::vector<Called> calls;
};

using Calls = std::vector<Called>;


TEST(ControlName, SplitsAtTheLastUnderscoreAndReadsTheNumberAsTheRuntimeDoes) {
    struct Case {
        const char* name;
        bool hasPrefix;
        const char* prefix;
        long n;
    };
    const Case cases[] = {
        {"polling_rate_option_2", true, "polling_rate_option_", 2},
        {"key_", true, "key_", 0},
        {"key_12ab", true, "key_", 12},
        {"key_ab12", true, "key_", 0},
        {"key_ 7", true, "key_", 7},
        {"key_-3", true, "key_", -3},
        {"key_99999999999999999999", true, "key_", 2147483647},
        {"key_-99999999999999999999", true, "key_", -2147483648L},
        {"deng_edit_R", true, "deng_edit_", 0},
        {"closebtn", false, "", 0},
        {"", false, "", 0},
    };
    for (const Case& c : cases) {
        const app::ControlNameParts parts = app::SplitControlName(c.name);
        EXPECT_EQ(parts.hasPrefix, c.hasPrefix) << c.name;
        EXPECT_EQ(parts.prefix, c.prefix) << c.name;
        EXPECT_EQ(parts.n, c.n) << c.name;
    }
}

TEST_F(RouterTest, NamesIgnoreCaseExceptTheFiveExactOnes) {
    Raise("selectchanged", "Polling_Rate_OPTION_3");
    // The keyboard's handler and the mouse's share the options; each acts on its own kind.
    EXPECT_EQ(Take(), (Calls{{"system.polling_rate", "Polling_Rate_OPTION_3", 3, 0},
                             {"mouse.report_rate", "Polling_Rate_OPTION_3", 3, 0}}));
    Raise("click", "KEY_BUTT_KEYSAVE");
    EXPECT_EQ(Take(), (Calls{{"keyset.save", "KEY_BUTT_KEYSAVE", 0, 0}}));

    for (const char* nearMiss :
         {"Macro_inset_moveleftkey_btn", "macro_inset_moveRightkey_btn",
          "MACRO_INSET_MOVEUPKEY_BTN", "macro_inset_movedownkey_BTN", "Profile_fun_spread_btn"}) {
        Raise("click", nearMiss);
        EXPECT_EQ(Take(), Calls{}) << nearMiss;
    }
    Raise("click", "macro_inset_moveupkey_btn");
    Raise("click", "macro_inset_moverightkey_btn");
    Raise("click", "profile_fun_spread_btn");
    EXPECT_EQ(Take(), (Calls{{"macro.insert_vertical_move", "macro_inset_moveupkey_btn", 0, 1},
                             {"macro.insert_horizontal_move", "macro_inset_moverightkey_btn", 0, 0},
                             {"profile.toggle_menu", "profile_fun_spread_btn", 0, 0}}));
}

TEST_F(RouterTest, NumberedControlsMatchTheirWholePrefixAndHandOnTheNumber) {
    Raise("click", "key_");
    Raise("click", "key_5");
    Raise("click", "color_option_4");
    // A key of a picture goes to the mouse's handler and to the keyboard's: the one of the
    // current device's kind acts.
    EXPECT_EQ(Take(), (Calls{{"mouse.key_button", "key_", 0, 0},
                             {"keyset.key_button", "key_", 0, 0},
                             {"mouse.key_button", "key_5", 5, 0},
                             {"keyset.key_button", "key_5", 5, 0},
                             {"light.colour_option", "color_option_4", 4, 0}}));
    // "vexal_DPI_slider_2" ends like a "DPI_slider_" name but is another control.
    Raise("movevaluechanged", "vexal_DPI_slider_2");
    EXPECT_EQ(Take(), (Calls{{"mouse.vexal_dpi_slider_moved", "vexal_DPI_slider_2", 2, 0}}));
    Raise("movevaluechanged", "DPI_slider_1");
    EXPECT_EQ(Take(), (Calls{{"mouse.dpi_preview", "DPI_slider_1", 1, 0}}));
    // A prefix is not a whole name: "key_butt_keysave" is not mouse key button 0.
    Raise("click", "key_butt_keysave");
    EXPECT_EQ(Take(), (Calls{{"keyset.save", "key_butt_keysave", 0, 0}}));
}

TEST_F(RouterTest, CloseButtonEndsTheHandlingAndSkipsTheDefault) {
    EXPECT_TRUE(Raise("click", "closebtn"));
    EXPECT_EQ(Take(), (Calls{{"shell.close", "closebtn", 0, 0}}));
    EXPECT_FALSE(Raise("click", "nodevice_ok_btn"));
    EXPECT_EQ(Take(), (Calls{{"shell.hide", "nodevice_ok_btn", 0, 0}}));
    EXPECT_FALSE(Raise("click", "minbtn"));
}

TEST_F(RouterTest, DefaultHandlingIsSkippedOnlyForRemoveAndEdit) {
    for (const char* type : {"click", "selectchanged", "itemselect", "killfocus", "click_wpadd",
                             "click_wpselect", "click_select_end", "msenter", "timer"}) {
        EXPECT_FALSE(Raise(type, "device_key_light")) << type;
    }
    EXPECT_TRUE(Raise("click_wpremove", "anything"));
    EXPECT_TRUE(Raise("click_wpedit", "anything"));
}

TEST_F(RouterTest, ComboPicksOfTheKeyAssignmentAreSavedAtOnce) {
    Raise("itemselect", "keyset_function_combo");
    EXPECT_EQ(Take(), (Calls{{"keyset.function_picked", "keyset_function_combo", 0, 0},
                             {"keyset.save", "keyset_function_combo", 0, 0}}));
    Raise("itemselect", "keyset_media_combo");
    Raise("killfocus", "keyset_macro_cycle_edit");
    EXPECT_EQ(Take(), (Calls{{"keyset.save", "keyset_media_combo", 0, 0},
                             {"keyset.save", "keyset_macro_cycle_edit", 0, 0}}));
    // Other pickers do not save keys.
    Raise("itemselect", "device_profile_combo");
    Raise("itemselect", "macro_name_list");
    EXPECT_EQ(Take(), (Calls{{"shell.profile_combo_picked", "device_profile_combo", 0, 0},
                             {"macro.select", "macro_name_list", 0, 0}}));
}

TEST_F(RouterTest, FixedArgumentsReachTheHandler) {
    Raise("selectchanged", "Virtual7.1_Op_tab");
    Raise("selectchanged", "deng_FXL_check");
    Raise("selectchanged", "deng_FXR_check");
    Raise("click_select_end", "keyboard_device_key_light");
    Raise("click_select_end", "mouse_device_key_light");
    Raise("click", "custom_off_color_btn");
    EXPECT_EQ(Take(), (Calls{{"device.page", "Virtual7.1_Op_tab", 0, 8},
                             {"light.direction", "deng_FXL_check", 0, 1},
                             {"light.direction", "deng_FXR_check", 0, 0},
                             {"light.selection_end", "keyboard_device_key_light", 0, 0},
                             {"light.selection_end", "mouse_device_key_light", 0, 1},
                             {"light.custom_colour", "custom_off_color_btn", 0, 0}}));
}

TEST_F(RouterTest, TypesOnlyRouteTheirOwnSenders) {
    Raise("windowsize", "not_root");
    Raise("colorchanged", "other_palette");
    Raise("click_select_end", "light_panel");
    Raise("selectchanged", "synchro_device_select");
    Raise("click", "no_such_button");
    Raise("msenter", "closebtn");
    Raise("valuechanged", "key_butt_keysave");
    Raise("click", "exit");  // a menu item's name, not a button's
    EXPECT_EQ(Take(), Calls{});

    Raise("windowsize", "root");
    Raise("setfocus", "keyset_keyboard_text_edit");
    Raise("killfocus", "keyset_keyboard_text_edit");
    Raise("itemactivate", "macro_action");
    EXPECT_EQ(Take(), (Calls{{"shell.window_size", "root", 0, 0},
                             {"recorder.key_capture_start", "keyset_keyboard_text_edit", 0, 0},
                             {"recorder.key_capture_stop", "keyset_keyboard_text_edit", 0, 0},
                             {"shell.open_macro_action_menu", "macro_action", 0, 0}}));
}

TEST_F(RouterTest, MenuItemsRouteByNameAndUnknownOnesAreRefused) {
    EXPECT_TRUE(router.RouteMenuCommand("left_click"));
    EXPECT_TRUE(router.RouteMenuCommand("redio_later_ignore_time"));
    EXPECT_TRUE(router.RouteMenuCommand("setwnd_menu"));
    EXPECT_EQ(Take(),
              (Calls{{"macro.insert_button_click", "left_click", 0, app::ops::kMacroButtonLeft},
                     {"recorder.record_after", "redio_later_ignore_time", 0,
                      app::ops::kRecordTimingIgnored},
                     {"shell.open_settings", "setwnd_menu", 0, 0}}));
    EXPECT_FALSE(router.RouteMenuCommand("frobnicate"));
    EXPECT_FALSE(router.RouteMenuCommand("closebtn"));
    EXPECT_FALSE(router.RouteMenuCommand(""));
    EXPECT_EQ(Take(), Calls{});
}

TEST_F(RouterTest, EveryTypeButTimerIsTracedAsTypeAndSender) {
    operations.Unregister(app::ops::kShellWindowInit);
    std::vector<std::string> lines;
    platform::SetTraceSink([&lines](std::string_view text) { lines.emplace_back(text); });
    Raise("msleave", "some_label");
    Raise("timer", "device_tab");
    ui::TNotifyUI orphan;
    orphan.sType = "windowinit";
    router.Route(orphan);
    platform::SetTraceSink({});
    EXPECT_EQ(lines, (std::vector<std::string>{"msleave\n", "some_label\n", "windowinit\n", "\n",
                                               "no handler: shell.window_init\n"}));
}

TEST_F(RouterTest, AHandlerMayDestroyTheSenderBeforeLaterRowsRun) {
    auto* sender = new ui::CButtonUI();
    sender->SetName("keyset_function_combo");
    operations.Register(app::ops::kKeySetFunctionPicked, [&sender](const app::RouteCall&) {
        delete sender;
        sender = nullptr;
    });
    ui::TNotifyUI msg;
    msg.sType = "itemselect";
    msg.pSender = sender;
    router.Route(msg);
    EXPECT_EQ(sender, nullptr);
    EXPECT_EQ(Take(), (Calls{{"keyset.save", "keyset_function_combo", 0, 0}}));
}

TEST(ShellOperations, MissingHandlersAreTracedAndHandlersMayUnregisterThemselves) {
    app::ShellOperations operations;
    std::vector<std::string> lines;
    platform::SetTraceSink([&lines](std::string_view text) { lines.emplace_back(text); });
    EXPECT_FALSE(operations.Call("profile.add"));
    platform::SetTraceSink({});
    EXPECT_EQ(lines, std::vector<std::string>{"no handler: profile.add\n"});

    int runs = 0;
    operations.Register("once", [&](const app::RouteCall& call) {
        runs += call.arg;
        operations.Unregister("once");
    });
    EXPECT_TRUE(operations.Call("once", 5));
    EXPECT_FALSE(operations.Has("once"));
    EXPECT_FALSE(operations.Call("once", 5));
    EXPECT_EQ(runs, 5);

    operations.Register("twice", [&](const app::RouteCall&) { runs = 1; });
    operations.Register("twice", [&](const app::RouteCall&) { runs = 2; });
    operations.Call("twice");
    EXPECT_EQ(runs, 2);
}

}  // namespace
