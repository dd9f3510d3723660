// SPDX-License-Identifier: GPL-3.0-or-later
// The skin folder: every layout builds with the skin library and the program's own
// elements, every image it names is there and fits its nine-patch corners, every style it
// names is defined, and every control the shell and the panels look up by name exists.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ShippedFiles.h"
#include "ui/AttributeText.h"
#include "ui/CComboUI.h"
#include "ui/CContainerUI.h"
#include "ui/CResourceManager.h"
#include "ui/CTabLayoutUI.h"
#include "ui/TDrawInfo.h"

namespace {

namespace fs = std::filesystem;
using shipped::SkinDir;

// Every attribute value of the layouts that names an image (attribute lists of styles
// and defaults included).
const std::set<std::string>& ImageAttributes() {
    static const std::set<std::string> names = {
        "bkimage", "foreimage", "normalimage", "hotimage", "pushedimage", "focusedimage",
        "disabledimage", "selectedimage", "selectedhotimage", "selectedforeimage", "hotforeimage",
        "pushedforeimage", "thumbimage", "thumbhotimage", "thumbpushedimage", "lightimage",
        "keysetimage", "itembkimage", "itemselectedimage", "itemhotimage", "handimage",
        "deletenormalimage", "deletehotimage", "redioimage", "shadowimage", "pillarimage"};
    return names;
}

void CollectImages(std::string_view name, std::string_view value,
                   std::vector<std::string>& images) {
    if (name == "value") {
        // a style's or default's attribute list
        ui::attr::ForEachAttribute(value, [&images](std::string_view n, std::string_view v) {
            CollectImages(n, v, images);
        });
    } else if (ImageAttributes().count(std::string(name)) != 0 && !value.empty()) {
        images.emplace_back(value);
    }
}

std::vector<std::pair<std::string, std::string>> LayoutImages() {
    std::vector<std::pair<std::string, std::string>> found;  // (layout, image string)
    for (const std::string& file : shipped::LayoutFiles()) {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_file((SkinDir() / file).c_str())) << file;
        std::vector<std::string> images;
        for (pugi::xpath_node node : doc.select_nodes("//*")) {
            for (pugi::xml_attribute a : node.node().attributes()) CollectImages(a.name(), a.value(), images);
        }
        for (const std::string& image : images) found.emplace_back(file, image);
    }
    return found;
}

TEST(SkinLayouts, EveryLayoutBuildsWithoutUnknownElements) {
    const std::vector<std::string> files = shipped::LayoutFiles();
    ASSERT_GE(files.size(), 15u) << "the skin folder looks empty";
    for (const std::string& file : files) {
        ui::CPaintManagerUI manager;
        std::vector<std::string> unknown;
        ui::CControlUI* root = shipped::BuildLayout(file, manager, unknown, true);
        EXPECT_NE(root, nullptr) << file;
        for (const std::string& element : unknown) ADD_FAILURE() << file << ": " << element;
        delete root;
    }
}

TEST(SkinLayouts, TheResourceIndexNamesExistingLayoutsForTheWindows) {
    pugi::xml_document index;
    ASSERT_TRUE(index.load_file((SkinDir() / "res.xml").c_str()));
    std::set<std::string> ids;
    for (pugi::xml_node entry : index.document_element().children()) {
        ids.insert(entry.attribute("id").as_string());
        const std::string path = entry.attribute("path").as_string();
        EXPECT_TRUE(fs::is_regular_file(SkinDir() / path)) << entry.attribute("id").as_string() << " -> " << path;
    }
    // The main window and the message window ask for these identifiers.
    EXPECT_EQ(ids.count("XML_MAIN"), 1u);
    EXPECT_EQ(ids.count("XML_MSG"), 1u);
    // Layouts the program names by file.
    for (const char* file : {"menu.xml", "setwnd.xml", "skin.xml", "AboutWnd.xml",
                             "XML/CustomControlXML/DeviceOption.xml", "XML/CustomControlXML/MpDevicePower.xml",
                             "XML/CustomControlXML/ComboEditElementItem.xml",
                             "XML/CustomControlXML/device_Update_list_item.xml",
                             "XML/Menus/macro_action_menu.xml", "XML/DeviceXml/mousedevice.xml",
                             "XML/DeviceXml/keyboarddevice.xml", "XML/DeviceXml/mousepaddevice.xml",
                             "XML/DeviceXml/zo6533device.xml"})
        EXPECT_TRUE(fs::is_regular_file(SkinDir() / file)) << file;
}

TEST(SkinLayouts, EveryImageExistsAndFitsItsCorners) {
    shipped::PrepareSkin();
    std::vector<std::pair<std::string, std::string>> images = LayoutImages();
    ASSERT_FALSE(images.empty());
    // Images the program sets itself: the device list's icon sets and the power states.
    for (const char* key : {"kb", "ms", "hard_mp", "soft_mp", "hd", "hub", "unknow"}) {
        for (const char* state : {"_device_normal.png", "_device_selected.png", "_device_synchro_normal.png",
                                  "_device_synchro_selected.png"})
            images.emplace_back("(program)", std::string("common/device_ico/") + key + state);
    }
    for (const char* power : {"powered", "wuxian_powering", "powering", "power", "Phone_type_iphone",
                              "Phone_type_samsung", "Phone_type_other", "Phone_type_no_device"})
        images.emplace_back("(program)", std::string("file='power/") + power + ".png'");
    images.emplace_back("(program)", "common/background.png");

    for (const auto& [layout, image] : images) {
        const ui::TDrawInfo info = ui::TDrawInfo::Parse(image);
        ASSERT_FALSE(info.sImageName.empty()) << layout << ": " << image;
        const ui::Size size = ui::CResourceManager::GetInstance().GetImageSize(info.sImageName);
        EXPECT_GT(size.cx, 0) << layout << ": " << info.sImageName << " missing or not a PNG";
        if (size.cx <= 0) continue;
        const ui::Rect& c = info.rcCorner;
        EXPECT_LT(c.left + c.right, size.cx) << layout << ": corners wider than " << info.sImageName;
        EXPECT_LT(c.top + c.bottom, size.cy + (c.top + c.bottom == 0 ? 1 : 0))
            << layout << ": corners taller than " << info.sImageName;
    }
}

TEST(SkinLayouts, EveryStyleNamedIsASharedStyleOfTheMainWindow) {
    // The main window is built first; its shared styles serve the pages built into it and
    // the windows opened later (settings, about, background).
    pugi::xml_document main;
    ASSERT_TRUE(main.load_file((SkinDir() / "XML/main.xml").c_str()));
    std::set<std::string> defined;
    for (pugi::xml_node style : main.document_element().children("Style")) {
        defined.insert(style.attribute("name").as_string());
        EXPECT_TRUE(style.attribute("shared").as_bool()) << style.attribute("name").as_string();
    }
    // The macro editor styles its event rows by these names.
    for (const char* style : {"macro_label_down_style", "macro_label_up_style", "macro_label_keyboard_style",
                              "macro_label_mouse_style", "macro_label_text_style"})
        EXPECT_EQ(defined.count(style), 1u) << style;
    for (const std::string& file : shipped::LayoutFiles()) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file((SkinDir() / file).c_str()));
        for (pugi::xpath_node node : doc.select_nodes("//*[@style]")) {
            const std::string style = node.node().attribute("style").as_string();
            EXPECT_EQ(defined.count(style), 1u) << file << ": style " << style;
        }
    }
}

// ---- the controls the program looks up

struct Built {
    ui::CPaintManagerUI manager;
    ui::CControlUI* root = nullptr;
    explicit Built(const std::string& file) {
        std::vector<std::string> unknown;
        root = shipped::BuildLayout(file, manager, unknown, true);
        if (root != nullptr) manager.AttachDialog(root);
    }
    ui::CControlUI* Find(const std::string& name) { return manager.FindControl(name); }
    void ExpectNames(const std::string& file, const std::vector<std::string>& names) {
        for (const std::string& name : names) EXPECT_NE(Find(name), nullptr) << file << " lacks " << name;
    }
    void ExpectClass(const std::string& name, const char* cls) {
        ui::CControlUI* control = Find(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_NE(control->GetInterface(cls), nullptr) << name << " is not a " << cls;
    }
};

std::vector<std::string> Numbered(const std::string& prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(prefix + std::to_string(i));
    return names;
}

TEST(SkinControls, TheShellFindsItsControls) {
    Built main("XML_MAIN");
    ASSERT_NE(main.root, nullptr);
    main.ExpectNames("main", {"root", "closebtn", "maxbtn", "restorebtn", "minbtn", "skinbtn", "gamemodebtn",
                              "cloudbtn", "smarteyesbtn", "setbtn", "device_select_layout", "device_switch",
                              "device_power_switch", "No_device_Link", "nodevice_ok_btn",
                              "control_light_status", "device_select_prev", "device_select_next",
                              "text_test", "str_test", "setting_progress"});
    main.ExpectClass("device_switch", "TabLayout");
    main.ExpectClass("device_power_switch", "TabLayout");
    main.ExpectClass("device_select_layout", "Container");
    EXPECT_EQ(main.root->GetName(), "root") << "the skin observer and windowsize look for the root by name";

    Built msg("XML_MSG");
    msg.ExpectNames("msgwnd", {"MessageTitle", "MessageText", "confirm_btn", "cancel_btn", "closebtn"});

    Built tab("XML/CustomControlXML/DeviceOption.xml");
    tab.ExpectClass("device_select", "Option");
    tab.ExpectClass("synchro_device_select", "Option");
    tab.ExpectClass("device_select_name", "Label");

    Built power("XML/CustomControlXML/MpDevicePower.xml");
    power.ExpectNames("MpDevicePower", {"device_power_Layout", "device_power_value", "device_wuxian_logo",
                                        "device_Power_progress", "device_power_status", "device_phone_type"});
    power.ExpectClass("device_Power_progress", "Progress");

    Built settings("setwnd.xml");
    settings.ExpectNames("setwnd", {"closebtn", "maxbtn", "restorebtn", "minbtn", "menubtn", "laterbtn",
                                    "device_update_list_info", "Language_combox_info", "set_in_update_wnd_btn",
                                    "update_fw_and_ap", "update_OK_btn", "get_update_tab_layout",
                                    "update_tishi_layout", "Update_Status_text", "update_status_ring",
                                    "update_status_image", "text_test"});
    settings.ExpectClass("Language_combox_info", "Combo");
    Built about("AboutWnd.xml");
    about.ExpectNames(
        "AboutWnd", {"closebtn", "maxbtn", "restorebtn", "minbtn", "menubtn", "software_ver_label",
                     "homepage_btn", "text_test", "licence_label"});
    ASSERT_NE(about.Find("licence_label"), nullptr);
    EXPECT_FALSE(about.Find("licence_label")->GetText().empty())
        << "the about window names the licence";
    Built skin("skin.xml");
    skin.ExpectNames("skin", {"skin_image_btn", "skin_color_btn", "skin_color", "skin_image", "skin_reset",
                              "skin_Custom", "skin_tab"});
    EXPECT_FALSE(skin.Find("skin_image_btn")->GetUserData().empty()) << "the image a button stands for";
}

TEST(SkinControls, MenusCarryTheItemsTheShellAndTheMacroEditorHandle) {
    auto itemNames = [](const std::string& file) {
        Built menu(file);
        std::set<std::string> names;
        for (ui::CControlUI* c : shipped::AllControls(menu.root))
            if (c->GetInterface("MenuElement") != nullptr) names.insert(c->GetName());
        return names;
    };
    EXPECT_EQ(itemNames("menu.xml"), (std::set<std::string>{"exit", "about_menu", "setwnd_menu"}));
    std::set<std::string> expected;
    for (const char* button : {"left", "middle", "right", "forward", "back"})
        for (const char* action : {"_down", "_up", "_click"}) expected.insert(std::string(button) + action);
    for (const char* where : {"redio_previous_", "redio_later_"})
        for (const char* how : {"record_time", "constant_time", "ignore_time"}) expected.insert(std::string(where) + how);
    expected.insert("macro_action_edit");
    EXPECT_EQ(itemNames("XML/Menus/macro_action_menu.xml"), expected);
}

class DevicePages : public ::testing::TestWithParam<const char*> {};

TEST_P(DevicePages, CarryTheProfileAndLightingPanelsAndTheFunctionPages) {
    const std::string file = GetParam();
    Built page(file);
    ASSERT_NE(page.root, nullptr);
    page.ExpectNames(file, {"DeviceProfileItem", "LightControlItem", "device_function_switch",
                            "device_key_function_switch", "text_test"});
    // Part of the profile panel
    std::vector<std::string> profile = {"device_profile_combo", "device_profile_name_edit", "profile_menu_layout",
                                        "deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab", "cursor_Op_tab",
                                        "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab", "device_add_btn",
                                        "device_sub_btn", "device_copy_btn", "device_reset_btn", "device_import_btn",
                                        "device_export_btn", "device_profile_edit_save_btn", "profile_fun_spread_btn",
                                        "default_btn"};
    page.ExpectNames(file, profile);
    // and of the lighting panel
    std::vector<std::string> lighting = {
        "light_combo_modeSelect", "light_combo_ZZCCmodeSelect", "light_combo_custommodeSelect", "deng_light_slider",
        "deng_speed_slider", "deng_edit_R", "deng_edit_G", "deng_edit_B", "deng_Color_Pallet", "deng_colordp_btn",
        "deng_7color_check", "deng_FXL_check", "deng_FXR_check", "deng_same_mode", "lighteffect_layout",
        "deng_color_layout", "colorpallet_layout", "deng_light_layout", "deng_speed_layout", "deng_fx_layout",
        "lightcustom_layout", "light_combo_ZZCCmodeSelectLayout", "light_color_layout", "deng_color_select",
        "deng_color_select1", "deng_RGB_edit", "custom_bright_color_btn", "custom_off_color_btn", "color_option_0"};
    page.ExpectNames(file, lighting);
    page.ExpectClass("deng_Color_Pallet", "ColorPalette");
    page.ExpectClass("deng_light_slider", "Slider");
    page.ExpectClass("DeviceProfileItem", "Container");
    // The function pages the device switches between (the device's page table).
    auto* f = static_cast<ui::CTabLayoutUI*>(page.Find("device_function_switch")->GetInterface("TabLayout"));
    auto* k = static_cast<ui::CTabLayoutUI*>(page.Find("device_key_function_switch")->GetInterface("TabLayout"));
    ASSERT_TRUE(f != nullptr && k != nullptr);
    EXPECT_GE(f->GetCount(), 4);
    EXPECT_GE(k->GetCount(), 3);
    // The lighting panel is the key page 0 and lies on the function page 0.
    EXPECT_EQ(k->GetItemIndex(page.Find("LightControlItem")), 0);
    EXPECT_EQ(f->GetItemIndex(k->GetParent()), 0);
    // Swatches are numbered from 0 without gaps, so the handlers find them all.
    int swatches = 0;
    while (page.Find("color_option_" + std::to_string(swatches)) != nullptr) ++swatches;
    EXPECT_GE(swatches, 8);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, DevicePages,
                         ::testing::Values("XML/DeviceXml/keyboarddevice.xml", "XML/DeviceXml/mousepaddevice.xml",
                                           "XML/DeviceXml/mousedevice.xml", "XML/DeviceXml/zo6533device.xml"));

TEST(SkinControls, DevicePagesAreTheDeviceObjectsWithTheirButtonPanels) {
    const std::map<std::string, std::pair<std::string, std::string>> pages = {
        {"XML/DeviceXml/keyboarddevice.xml", {"LumitrekKeyboardDevice", "keyboard_device_key_light"}},
        {"XML/DeviceXml/mousepaddevice.xml", {"LumitrekMousePadDevice", "mousepad_device_key_light"}},
        {"XML/DeviceXml/mousedevice.xml", {"LumitrekMouseDevice", "mouse_device_key_light"}},
        {"XML/DeviceXml/zo6533device.xml", {"LumitrekZO6533Device", "zo6533_device_key_light"}},
    };
    for (const auto& [file, expected] : pages) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file((SkinDir() / file).c_str()));
        EXPECT_EQ(std::string(doc.document_element().name()), expected.first) << file;
        Built page(file);
        ui::CControlUI* buttons = page.Find(expected.second);
        ASSERT_NE(buttons, nullptr) << file << " lacks " << expected.second;
        EXPECT_EQ(buttons->GetClass(), "SelectPanel") << file;

    }
}

TEST(SkinControls, TheMousePageCarriesItsSettingsAndTheRecoilPanel) {
    const std::string file = "XML/DeviceXml/mousedevice.xml";
    Built page(file);
    ASSERT_NE(page.root, nullptr);
    std::vector<std::string> names = {
        "KeySetControlItem", "MacroControlItem", "LightControlItem", "ShootControlItem",
        "pointer_speed_slider", "pointer_precision_check", "scrolls_page_check",
        "scroll_speed_slider", "double_click_slider", "mouse_option_layout",
        "shoot_image_display_switch", "bullet_select_index", "bullet_selected_prev",
        "bullet_selected_next", "bullet_edit_layout", "bullet_x_check", "bullet_y_check",
        "bullet_x_eidt", "bullet_y_eidt", "bullet_delay_eidt", "shootdate_save_btn",
        "shootdate_reset_btn", "shootdate_import_btn", "shootdate_export_btn"};
    for (const char* prefix : {"DPI_layout_", "DPI_enable_check_", "DPI_slider_", "DPI_edit_",
                               "polling_rate_option_"})
        for (const std::string& name : Numbered(prefix, 5)) names.push_back(name);
    for (const std::string& name : Numbered("shoot_gun_op_", 4)) names.push_back(name);
    for (const std::string& name : Numbered("bullet_op_", 30)) names.push_back(name);
    for (const std::string& name : Numbered("mouse_device_seting_option_", 2)) names.push_back(name);
    page.ExpectNames(file, names);
    page.ExpectClass("mouse_device_seting_layout", "TabLayout");
    // A stage's option is outside the row it switches off, or it could not switch it on.
    for (int n = 0; n < 5; ++n) {
        ui::CControlUI* row = page.Find("DPI_layout_" + std::to_string(n));
        auto* container = static_cast<ui::CContainerUI*>(row->GetInterface("Container"));
        ASSERT_NE(container, nullptr);
        EXPECT_EQ(container->FindSubControl("DPI_enable_check_" + std::to_string(n)), nullptr);
    }
}

TEST(SkinControls, TheKeyboardPageCarriesTheKeyMacroAndSystemPanels) {
    const std::string file = "XML/DeviceXml/keyboarddevice.xml";
    Built page(file);
    ASSERT_NE(page.root, nullptr);
    page.ExpectNames(file, {"KeySetControlItem", "MacroControlItem"});
    // The key assignment panel
    std::vector<std::string> keys = {
        "keyset_layout", "keyset_function_combo", "function_switch_tablayout", "key_butt_keydefalut",
        "key_butt_keysave", "key_butt_keycancel", "key_butt_prosave", "keyset_mousekey_combo",
        "keyset_mouseswing_combo", "keyset_mouseswing_num_edit", "keyset_mouseswing_delay_edit",
        "keyset_mouseswing_speed_edit", "keyset_mousewheel_combo", "keyset_mousewheel_num_edit",
        "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit", "keyset_mousedpi_combo",
        "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit", "keyset_keyboard_text_edit",
        "keyset_media_combo", "keyset_system_combo", "keyset_macro_combo", "keyset_macro_over_combo",
        "keyset_macro_cycle_layout", "keyset_macro_cycle_edit", "keyset_gunkey_combo", "keyset_combokey_combo"};
    for (const std::string& modifier : Numbered("key_ComBox_check_", 5)) keys.push_back(modifier);
    page.ExpectNames(file, keys);
    // Category codes 0..11 in order, one tab page per code.
    auto* categories = static_cast<ui::CComboUI*>(page.Find("keyset_function_combo")->GetInterface("Combo"));
    ASSERT_NE(categories, nullptr);
    ASSERT_EQ(categories->GetCount(), 12);
    for (int code = 0; code < 12; ++code)
        EXPECT_EQ(categories->GetItemAt(code)->GetUserData(), std::to_string(code));
    auto* pages = static_cast<ui::CTabLayoutUI*>(page.Find("function_switch_tablayout")->GetInterface("TabLayout"));
    EXPECT_EQ(pages->GetCount(), 12);
    // The key assignment panel's item tables in their order and number.
    const std::map<std::string, int> items = {{"keyset_mousekey_combo", 5}, {"keyset_mousedpi_combo", 3},
                                              {"keyset_media_combo", 18},   {"keyset_system_combo", 3},
                                              {"keyset_macro_over_combo", 5}, {"keyset_gunkey_combo", 4},
                                              {"keyset_combokey_combo", 11}, {"keyset_mouseswing_combo", 2},
                                              {"keyset_mousewheel_combo", 2}};
    for (const auto& [name, count] : items)
        EXPECT_EQ(static_cast<ui::CComboUI*>(page.Find(name)->GetInterface("Combo"))->GetCount(), count) << name;
    // The macro editor
    page.ExpectNames(file, {"macro_name_list", "macro_edit_macroname", "macro_action_list", "macro_action_layout",
                            "mouse_move_layout", "macro_btn_name_add", "macro_btn_name_sub", "macro_btn_name_edit",
                            "macro_btn_save", "macro_btn_cancel", "macro_btn_export", "macro_btn_import", "macro_btn_up",
                            "macro_btn_down", "macro_btn_uptop", "macro_btn_downbottom", "macro_btn_delete",
                            "macro_btn_deleteall", "mouse_x_left_edit", "mouse_x_right_edit", "mouse_y_up_edit",
                            "mouse_y_down_edit", "macro_inset_moveleftkey_btn", "macro_inset_moverightkey_btn",
                            "macro_inset_moveupkey_btn", "macro_inset_movedownkey_btn", "macro_name_tab",
                            "macro_tab_macroaction_edit", "macro_tab_macrodelay_edit", "macro_btn_starredio",
                            "macro_btn_stopredio", "macro_check_time", "macro_fixed_time_edit"});
    page.ExpectClass("macro_name_list", "List");
    page.ExpectClass("macro_action_list", "List");
    // The system settings
    std::vector<std::string> system = {"repeat_rate_slider", "repeat_delay_time_label1", "repeat_input_richedit",
                                       "reset_repeat_btn", "winlockflag_option", "wflag_option", "6flag_option"};
    for (const std::string& option : Numbered("polling_rate_option_", 4)) system.push_back(option);
    for (const std::string& option : Numbered("repeat_delay_check_", 4)) system.push_back(option);
    page.ExpectNames(file, system);
    page.ExpectClass("repeat_input_richedit", "RichEdit");
    // The system page is function page 3, where page 4 of the tabs takes the keyboard.
    auto* f = static_cast<ui::CTabLayoutUI*>(page.Find("device_function_switch")->GetInterface("TabLayout"));
    ui::CControlUI* systemPage = page.Find("polling_rate_option_0");
    while (systemPage != nullptr && systemPage->GetParent() != f) systemPage = systemPage->GetParent();
    EXPECT_EQ(f->GetItemIndex(systemPage), 3);
}

}  // namespace
