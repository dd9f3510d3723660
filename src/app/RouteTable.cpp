// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RouteTable.h"

#include <vector>

namespace app {

namespace {

using M = RouteMatch;

RouteRow Row(std::string_view type, RouteMatch match, std::string_view name, ops::Id operation,
             int arg = 0, bool endsHandling = false) {
    return {type, match, name, operation, arg, endsHandling, CaseRuleFor(name)};
}

// Shorthands for the common shapes; each is one row.
RouteRow Exact(std::string_view type, std::string_view name, ops::Id operation, int arg = 0) {
    return Row(type, M::Exact, name, operation, arg);
}
RouteRow Prefix(std::string_view type, std::string_view prefix, ops::Id operation) {
    return Row(type, M::Prefix, prefix, operation);
}
RouteRow Menu(std::string_view item, ops::Id operation, int arg = 0) {
    return Row(kMenuCommandType, M::Exact, item, operation, arg);
}

constexpr std::string_view kClick = "click";
constexpr std::string_view kSelect = "selectchanged";
constexpr std::string_view kValue = "valuechanged";
constexpr std::string_view kSliding = "movevaluechanged";
constexpr std::string_view kItem = "itemselect";
constexpr std::string_view kFocusLost = "killfocus";

std::vector<RouteRow> BuildTable() {
    using namespace ops;
    return {
        // ---- window life
        Row("windowinit", M::AnySender, {}, kShellWindowInit),
        Exact("windowsize", "root", kShellWindowSize),
        Exact("colorchanged", "deng_Color_Pallet", kLightColourPicked),
        Exact("click_select_end", "device_key_light", kLightSelectionEnd, 0),
        Exact("click_select_end", "keyboard_device_key_light", kLightSelectionEnd, 0),
        Exact("click_select_end", "mouse_device_key_light", kLightSelectionEnd, 1),
        // The window's message map.
        Exact("itemactivate", "macro_action", kShellOpenMacroActionMenu),
        Exact("setfocus", "keyset_keyboard_text_edit", kKeyCaptureStart),

        // ---- clicks: title and shell buttons first ...
        Row(kClick, M::Exact, "closebtn", kShellClose, 0, true),
        Exact(kClick, "nodevice_ok_btn", kShellHide),
        Exact(kClick, "control_light_status", kShellToggleLightControl),
        Exact(kClick, "minbtn", kShellMinimize),
        Exact(kClick, "maxbtn", kShellMaximize),
        Exact(kClick, "restorebtn", kShellRestore),
        Exact(kClick, "skinbtn", kShellOpenSkinChooser),
        Exact(kClick, "setbtn", kShellOpenSettingsBeside),
        // ... then numbered buttons ...
        // A key of the picture: the handler of the current device's kind acts.
        Prefix(kClick, "key_", kMouseKeyButton),
        Prefix(kClick, "key_", kKeyboardKeyButton),
        Prefix(kClick, "color_option_", kLightColourOption),
        Prefix(kClick, "windowdeviceset_", kShellOpenDeviceSettings),
        // ... then the panels' buttons.
        Exact(kClick, "default_btn", kDeviceRestoreDefaults),
        Exact(kClick, "reset_repeat_btn", kSystemClearRepeatTest),
        Exact(kClick, "device_add_btn", kProfileAdd),
        Exact(kClick, "device_sub_btn", kProfileDelete),
        Exact(kClick, "device_copy_btn", kProfileCopy),
        Exact(kClick, "device_reset_btn", kProfileReset),
        Exact(kClick, "device_import_btn", kProfileImport),
        Exact(kClick, "device_export_btn", kProfileExport),
        Exact(kClick, "device_profile_edit_save_btn", kProfileSaveEdit),
        Exact(kClick, "key_butt_keysave", kKeySetSave),
        Exact(kClick, "key_butt_keydefalut", kKeySetDefault),
        Exact(kClick, "key_butt_keycancel", kKeySetCancel),
        Exact(kClick, "key_butt_prosave", kKeySetSaveProfile),
        Exact(kClick, "macro_btn_starredio", kRecorderStart),
        Exact(kClick, "macro_btn_stopredio", kRecorderStop),
        Exact(kClick, "macro_btn_name_add", kMacroAdd),
        Exact(kClick, "macro_btn_name_sub", kMacroDelete),
        Exact(kClick, "macro_btn_name_edit", kMacroRename),
        Exact(kClick, "macro_btn_save", kMacroSave),
        Exact(kClick, "macro_btn_cancel", kMacroCancel),
        Exact(kClick, "macro_btn_import", kMacroImport),
        Exact(kClick, "macro_btn_export", kMacroExport),
        Exact(kClick, "macro_btn_up", kMacroRowUp),
        Exact(kClick, "macro_btn_down", kMacroRowDown),
        Exact(kClick, "macro_btn_uptop", kMacroRowTop),
        Exact(kClick, "macro_btn_downbottom", kMacroRowBottom),
        Exact(kClick, "macro_btn_delete", kMacroRowDelete),
        Exact(kClick, "macro_btn_deleteall", kMacroRowDeleteAll),
        Exact(kClick, "macro_inset_moveleftkey_btn", kMacroInsertHorizontalMove, 1),
        Exact(kClick, "macro_inset_moverightkey_btn", kMacroInsertHorizontalMove, 0),
        Exact(kClick, "macro_inset_moveupkey_btn", kMacroInsertVerticalMove, 1),
        Exact(kClick, "macro_inset_movedownkey_btn", kMacroInsertVerticalMove, 0),
        Exact(kClick, "shootdate_save_btn", kRecoilSave),
        Exact(kClick, "shootdate_reset_btn", kRecoilReset),
        Exact(kClick, "shootdate_import_btn", kRecoilImport),
        Exact(kClick, "shootdate_export_btn", kRecoilExport),
        Exact(kClick, "bullet_selected_prev", kRecoilStepShot, 0),
        Exact(kClick, "bullet_selected_next", kRecoilStepShot, 1),
        Exact(kClick, "custom_bright_color_btn", kLightCustomColour, 1),
        Exact(kClick, "custom_off_color_btn", kLightCustomColour, 0),
        Exact(kClick, "deng_same_mode", kLightSameMode),
        Exact(kClick, "hs_EQ_btn_save", kHeadsetEqSave),
        Exact(kClick, "hs_EQ_btn_delete", kHeadsetEqDelete),
        Exact(kClick, "profile_fun_spread_btn", kProfileToggleMenu),
        Exact(kClick, "device_select_prev", kDeviceSelectPrev),
        Exact(kClick, "device_select_next", kDeviceSelectNext),

        // ---- selections: numbered options first
        Prefix(kSelect, "DPI_enable_check_", kMouseDpiEnable),
        Prefix(kSelect, "polling_rate_option_", kSystemPollingRate),
        Prefix(kSelect, "polling_rate_option_", kMouseReportRate),
        Prefix(kSelect, "repeat_delay_check_", kSystemRepeatDelay),
        Prefix(kSelect, "mouse_device_seting_option_", kMouseSettingsPage),
        Prefix(kSelect, "shoot_gun_op_", kRecoilWeapon),
        Prefix(kSelect, "bullet_op_", kRecoilShot),
        Prefix(kSelect, "magic_option_", kHeadsetMagicOption),
        Prefix(kSelect, "6533_eq_option_", kHeadsetEqOption),
        Prefix(kSelect, "key_ComBox_check_", kKeySetComboCheck),
        Exact(kSelect, "pointer_precision_check", kMousePointerPrecision),
        Exact(kSelect, "scrolls_page_check", kMouseScrollPage),
        Exact(kSelect, "winlockflag_option", kSystemWinLock),
        Exact(kSelect, "wflag_option", kSystemWFlag),
        Exact(kSelect, "6flag_option", kSystemSixKeyFlag),
        // "synchro_device_select" has no row: the device list reads its state itself.
        Exact(kSelect, "device_select", kDeviceSelect),
        Exact(kSelect, "deng_Op_tab", kDevicePage, 1),
        Exact(kSelect, "key_Op_tab", kDevicePage, 2),
        Exact(kSelect, "macro_Op_tab", kDevicePage, 3),
        Exact(kSelect, "system_Op_tab", kDevicePage, 4),
        Exact(kSelect, "cursor_Op_tab", kDevicePage, 5),
        Exact(kSelect, "6533_voice_Op_tab", kDevicePage, 6),
        Exact(kSelect, "magic_Op_tab", kDevicePage, 7),
        Exact(kSelect, "Virtual7.1_Op_tab", kDevicePage, 8),
        Exact(kSelect, "deng_FXL_check", kLightDirection, 1),
        Exact(kSelect, "deng_FXR_check", kLightDirection, 0),
        Exact(kSelect, "deng_7color_check", kLightSevenColour),
        Exact(kSelect, "bullet_x_check", kRecoilDirection, 0),
        Exact(kSelect, "bullet_y_check", kRecoilDirection, 1),
        Exact(kSelect, "magic_enable_option", kHeadsetMagicEnable),
        Exact(kSelect, "virtual_surround_option", kHeadsetVirtualSurround),
        Exact(kSelect, "6533_MicIn_option", kHeadsetMicInEnable),
        Exact(kSelect, "6533_MicMoniter_option", kHeadsetMicMonitorEnable),

        // ---- slider values set
        Prefix(kValue, "DPI_slider_", kMouseDpiSlider),
        Prefix(kValue, "6533_eq_hz_slider_", kHeadsetEqBand),
        Exact(kValue, "pointer_speed_slider", kMousePointerSpeed),
        Exact(kValue, "scroll_speed_slider", kMouseScrollSpeed),
        Exact(kValue, "double_click_slider", kMouseDoubleClickSpeed),
        Exact(kValue, "repeat_rate_slider", kSystemRepeatRate),
        Exact(kValue, "deng_light_slider", kLightBrightness),
        Exact(kValue, "deng_speed_slider", kLightSpeed),
        Exact(kValue, "6533_MicIn_slider", kHeadsetMicInLevel),
        Exact(kValue, "6533_MicMoniter_slider", kHeadsetMicMonitorLevel),

        // ---- sliders being dragged
        Prefix(kSliding, "vexal_DPI_slider_", kMouseVexalDpiSliderMoved),
        Prefix(kSliding, "DPI_slider_", kMouseDpiPreview),

        // ---- combo and list picks
        Exact(kItem, "device_profile_combo", kProfileComboPicked),
        Exact(kItem, "light_combo_modeSelect", kLightModePicked),
        Exact(kItem, "light_combo_custommodeSelect", kLightCustomModePicked),
        Exact(kItem, "light_combo_ZZCCmodeSelect", kLightZzccModePicked),
        Exact(kItem, "keyset_function_combo", kKeySetFunctionPicked),
        Exact(kItem, "keyset_macro_over_combo", kKeySetMacroOverPicked),
        Exact(kItem, "macro_name_list", kMacroSelect),
        Exact(kItem, "custom_eq_name_combo", kHeadsetEqPresetPicked),
        // A pick in any of the key assignment's combos is saved at once.
        Exact(kItem, "keyset_function_combo", kKeySetSave),
        Exact(kItem, "keyset_mousekey_combo", kKeySetSave),
        Exact(kItem, "keyset_mouseswing_combo", kKeySetSave),
        Exact(kItem, "keyset_mousewheel_combo", kKeySetSave),
        Exact(kItem, "keyset_mousedpi_combo", kKeySetSave),
        Exact(kItem, "keyset_media_combo", kKeySetSave),
        Exact(kItem, "keyset_system_combo", kKeySetSave),
        Exact(kItem, "keyset_macro_combo", kKeySetSave),
        Exact(kItem, "keyset_macro_over_combo", kKeySetSave),
        Exact(kItem, "keyset_gunkey_combo", kKeySetSave),
        Exact(kItem, "keyset_combokey_combo", kKeySetSave),

        // ---- edits left
        Prefix(kFocusLost, "vexal_DPI_edit_", kMouseVexalDpiEdited),
        Prefix(kFocusLost, "DPI_edit_", kMouseDpiEdited),
        Exact(kFocusLost, "deng_edit_R", kLightRgbEdited, 0),
        Exact(kFocusLost, "deng_edit_G", kLightRgbEdited, 1),
        Exact(kFocusLost, "deng_edit_B", kLightRgbEdited, 2),
        Exact(kFocusLost, "keyset_keyboard_text_edit", kKeyCaptureStop),
        Exact(kFocusLost, "bullet_x_eidt", kRecoilShotEdited, 0),
        Exact(kFocusLost, "bullet_y_eidt", kRecoilShotEdited, 1),
        Exact(kFocusLost, "bullet_delay_eidt", kRecoilShotEdited, 2),
        Exact(kFocusLost, "macro_delay", kMacroSave),
        Exact(kFocusLost, "keyset_mouseswing_num_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mouseswing_delay_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mouseswing_speed_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mousewheel_num_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mousewheel_delay_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mousewheel_speed_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mousefire_interval_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_mousefire_num_edit", kKeySetSave),
        Exact(kFocusLost, "keyset_macro_cycle_edit", kKeySetSave),

        // ---- menu items
        Menu("exit", kShellExit),
        Menu("about_menu", kShellOpenAbout),
        Menu("setwnd_menu", kShellOpenSettings),
        Menu("redio_previous_record_time", kRecorderRecordBefore, kRecordTimingRecorded),
        Menu("redio_previous_constant_time", kRecorderRecordBefore, kRecordTimingConstant),
        Menu("redio_previous_ignore_time", kRecorderRecordBefore, kRecordTimingIgnored),
        Menu("redio_later_record_time", kRecorderRecordAfter, kRecordTimingRecorded),
        Menu("redio_later_constant_time", kRecorderRecordAfter, kRecordTimingConstant),
        Menu("redio_later_ignore_time", kRecorderRecordAfter, kRecordTimingIgnored),
        Menu("macro_action_edit", kRecorderReplaceKey),
        Menu("left_down", kMacroInsertButtonDown, kMacroButtonLeft),
        Menu("left_up", kMacroInsertButtonUp, kMacroButtonLeft),
        Menu("left_click", kMacroInsertButtonClick, kMacroButtonLeft),
        Menu("middle_down", kMacroInsertButtonDown, kMacroButtonMiddle),
        Menu("middle_up", kMacroInsertButtonUp, kMacroButtonMiddle),
        Menu("middle_click", kMacroInsertButtonClick, kMacroButtonMiddle),
        Menu("right_down", kMacroInsertButtonDown, kMacroButtonRight),
        Menu("right_up", kMacroInsertButtonUp, kMacroButtonRight),
        Menu("right_click", kMacroInsertButtonClick, kMacroButtonRight),
        Menu("forward_down", kMacroInsertButtonDown, kMacroButtonForward),
        Menu("forward_up", kMacroInsertButtonUp, kMacroButtonForward),
        Menu("forward_click", kMacroInsertButtonClick, kMacroButtonForward),
        Menu("back_down", kMacroInsertButtonDown, kMacroButtonBack),
        Menu("back_up", kMacroInsertButtonUp, kMacroButtonBack),
        Menu("back_click", kMacroInsertButtonClick, kMacroButtonBack),
    };
}

}  // namespace

std::span<const RouteRow> RouteTable() {
    static const std::vector<RouteRow> table = BuildTable();
    return table;
}

bool SkipsDefaultHandling(std::string_view type) {
    return type == "click_wpremove" || type == "click_wpedit";
}

}  // namespace app
