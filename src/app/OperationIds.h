// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every operation the main window's notifications, menu commands and messages lead to,
// grouped by the part of the program that registers the handler with ShellOperations.
// The routing table (NotifyRouter) names these; a panel registers its handlers under them
// and changes nothing else.
//
// A handler gets a RouteCall: the notification, the sender's name, the number at the end
// of a numbered control's name (`n`) and the fixed argument of the routing row (`arg`).
// Handlers that work on the current device do nothing while there is none.
#include <string_view>

namespace app::ops {

using Id = std::string_view;

// ---- shell (main window)
// "windowinit": start-up
inline constexpr Id kShellWindowInit = "shell.window_init";
// "root" resized: first time only, re-layout
inline constexpr Id kShellWindowSize = "shell.window_size";
// close child windows, hide to the tray
inline constexpr Id kShellClose = "shell.close";
// "nodevice_ok_btn": hide, nothing else
inline constexpr Id kShellHide = "shell.hide";
// take or release the lighting
inline constexpr Id kShellToggleLightControl = "shell.toggle_light_control";
// system command minimise
inline constexpr Id kShellMinimize = "shell.minimize";
// system command maximise
inline constexpr Id kShellMaximize = "shell.maximize";
// system command restore
inline constexpr Id kShellRestore = "shell.restore";
// skin chooser anchored at "skinbtn"
inline constexpr Id kShellOpenSkinChooser = "shell.open_skin_chooser";
// settings window next to the main one
inline constexpr Id kShellOpenSettingsBeside = "shell.open_settings_beside";
// settings window centred (menu, message)
inline constexpr Id kShellOpenSettings = "shell.open_settings";
// about window
inline constexpr Id kShellOpenAbout = "shell.open_about";
// close settings and about windows
inline constexpr Id kShellCloseChildWindows = "shell.close_child_windows";
// desktop's device settings page n
inline constexpr Id kShellOpenDeviceSettings = "shell.open_device_settings";
// tray menu "exit": end the program
inline constexpr Id kShellExit = "shell.exit";
// row menu at the cursor
inline constexpr Id kShellOpenMacroActionMenu = "shell.open_macro_action_menu";
// arm the 400 ms profile-switch timer
inline constexpr Id kProfileComboPicked = "shell.profile_combo_picked";

// ---- device list
// a device tab was selected
inline constexpr Id kDeviceSelect = "device.select";
// previous connected device, no wrap
inline constexpr Id kDeviceSelectPrev = "device.select_prev";
// next connected device, no wrap
inline constexpr Id kDeviceSelectNext = "device.select_next";
// show page `arg` (1..8) of the current device
inline constexpr Id kDevicePage = "device.page";
// confirm, reset the device, write it
inline constexpr Id kDeviceRestoreDefaults = "device.restore_defaults";

// ---- profile panel
// "device_add_btn"
inline constexpr Id kProfileAdd = "profile.add";
// "device_sub_btn"
inline constexpr Id kProfileDelete = "profile.delete";
// "device_copy_btn"
inline constexpr Id kProfileCopy = "profile.copy";
// "device_reset_btn"
inline constexpr Id kProfileReset = "profile.reset";
// "device_import_btn"
inline constexpr Id kProfileImport = "profile.import";
// "device_export_btn"
inline constexpr Id kProfileExport = "profile.export";
// "device_profile_edit_save_btn"
inline constexpr Id kProfileSaveEdit = "profile.save_edit";
// show or hide "profile_menu_layout"
inline constexpr Id kProfileToggleMenu = "profile.toggle_menu";
// a profile was picked in the combo: the switch to come is for the current device
inline constexpr Id kProfilePicked = "profile.picked";
// profile-switch timer expired: apply the pick
inline constexpr Id kProfileSwitch = "profile.switch";

// ---- key assignment panel
// save the assignment of the selected key
inline constexpr Id kKeySetSave = "keyset.save";
// "key_butt_keydefalut"
inline constexpr Id kKeySetDefault = "keyset.default";
// "key_butt_keycancel"
inline constexpr Id kKeySetCancel = "keyset.cancel";
// "key_butt_prosave": write all keys
inline constexpr Id kKeySetSaveProfile = "keyset.save_profile";
// "keyset_function_combo"
inline constexpr Id kKeySetFunctionPicked = "keyset.function_picked";
// "keyset_macro_over_combo"
inline constexpr Id kKeySetMacroOverPicked = "keyset.macro_over_picked";
// "key_ComBox_check_" n
inline constexpr Id kKeySetComboCheck = "keyset.combo_check";

// ---- lighting panel
// colour option n
inline constexpr Id kLightColourOption = "light.colour_option";
// palette "deng_Color_Pallet" changed
inline constexpr Id kLightColourPicked = "light.colour_picked";
// per-key selection done; arg 0 keyboard, 1 mouse
inline constexpr Id kLightSelectionEnd = "light.selection_end";
// arg 1 lit keys, 0 unlit keys
inline constexpr Id kLightCustomColour = "light.custom_colour";
// "deng_same_mode"
inline constexpr Id kLightSameMode = "light.same_mode";
// arg 1 "deng_FXL_check", 0 "deng_FXR_check"
inline constexpr Id kLightDirection = "light.direction";
// "deng_7color_check"
inline constexpr Id kLightSevenColour = "light.seven_colour";
// "deng_light_slider"
inline constexpr Id kLightBrightness = "light.brightness";
// "deng_speed_slider"
inline constexpr Id kLightSpeed = "light.speed";
// "light_combo_modeSelect"
inline constexpr Id kLightModePicked = "light.mode_picked";
// "light_combo_custommodeSelect"
inline constexpr Id kLightCustomModePicked = "light.custom_mode_picked";
// "light_combo_ZZCCmodeSelect"
inline constexpr Id kLightZzccModePicked = "light.zzcc_mode_picked";
// arg 0 red, 1 green, 2 blue edit left
inline constexpr Id kLightRgbEdited = "light.rgb_edited";
// the effect, brightness, speed and colour the page shows, taken in one change (the
// command line sets them all and then asks for one write)
inline constexpr Id kLightApplyShown = "light.apply_shown";

// ---- macro editor
// "macro_btn_name_add"
inline constexpr Id kMacroAdd = "macro.add";
// "macro_btn_name_sub"
inline constexpr Id kMacroDelete = "macro.delete";
// "macro_btn_name_edit"
inline constexpr Id kMacroRename = "macro.rename";
// "macro_btn_save", "macro_delay" left
inline constexpr Id kMacroSave = "macro.save";
// reload the macro, dropping edits
inline constexpr Id kMacroCancel = "macro.cancel";
// "macro_btn_import"
inline constexpr Id kMacroImport = "macro.import";
// "macro_btn_export"
inline constexpr Id kMacroExport = "macro.export";
// move the row, then save
inline constexpr Id kMacroRowUp = "macro.row_up";
inline constexpr Id kMacroRowDown = "macro.row_down";
inline constexpr Id kMacroRowTop = "macro.row_top";
inline constexpr Id kMacroRowBottom = "macro.row_bottom";
inline constexpr Id kMacroRowDelete = "macro.row_delete";
inline constexpr Id kMacroRowDeleteAll = "macro.row_delete_all";
// insert a pointer move, then save; arg: 1 left, 0 right / 1 up, 0 down
inline constexpr Id kMacroInsertHorizontalMove = "macro.insert_horizontal_move";
inline constexpr Id kMacroInsertVerticalMove = "macro.insert_vertical_move";
// "macro_name_list" pick
inline constexpr Id kMacroSelect = "macro.select";
// arg: button, see kMacroButton*
inline constexpr Id kMacroInsertButtonDown = "macro.insert_button_down";
inline constexpr Id kMacroInsertButtonUp = "macro.insert_button_up";
// press and release
inline constexpr Id kMacroInsertButtonClick = "macro.insert_button_click";

// The `arg` of the button insertions.
inline constexpr int kMacroButtonLeft = 0;
inline constexpr int kMacroButtonMiddle = 1;
inline constexpr int kMacroButtonRight = 2;
inline constexpr int kMacroButtonForward = 3;
inline constexpr int kMacroButtonBack = 4;

// ---- macro recorder and key capture
// "macro_btn_starredio"
inline constexpr Id kRecorderStart = "recorder.start";
// "macro_btn_stopredio"
inline constexpr Id kRecorderStop = "recorder.stop";
// arg: timing, see kRecordTiming*
inline constexpr Id kRecorderRecordBefore = "recorder.record_before";
// arg: timing
inline constexpr Id kRecorderRecordAfter = "recorder.record_after";
// next key replaces the row's key
inline constexpr Id kRecorderReplaceKey = "recorder.replace_key";
// key edit focused: capture keys
inline constexpr Id kKeyCaptureStart = "recorder.key_capture_start";
// key edit left: stop capturing
inline constexpr Id kKeyCaptureStop = "recorder.key_capture_stop";

// A key reported by the hook in key capture (mode 1): msg.wParam the key message,
// msg.lParam a ui::KeyHookRecord*
inline constexpr Id kKeyCaptureKey = "recorder.key_capture_key";
// A key or mouse button reported while recording; arg: the variant, see kRecord*
inline constexpr Id kRecorderKey = "recorder.key";
inline constexpr Id kRecorderMouse = "recorder.mouse";
inline constexpr int kRecordAppend = 0;
inline constexpr int kRecordBefore = 1;
inline constexpr int kRecordAfter = 2;
inline constexpr int kRecordReplace = 3;

// The `arg` of the recording items.
inline constexpr int kRecordTimingRecorded = 0;
inline constexpr int kRecordTimingConstant = 1;
inline constexpr int kRecordTimingIgnored = 2;

// ---- keyboard system settings panel
// "reset_repeat_btn" (keyboards)
inline constexpr Id kSystemClearRepeatTest = "system.clear_repeat_test";
// polling-rate option n
inline constexpr Id kSystemPollingRate = "system.polling_rate";
// repeat-delay option n
inline constexpr Id kSystemRepeatDelay = "system.repeat_delay";
// "repeat_rate_slider"
inline constexpr Id kSystemRepeatRate = "system.repeat_rate";
// "winlockflag_option"
inline constexpr Id kSystemWinLock = "system.win_lock";
// "wflag_option"
inline constexpr Id kSystemWFlag = "system.w_flag";
// "6flag_option"
inline constexpr Id kSystemSixKeyFlag = "system.six_key_flag";

// ---- recoil pattern panel
// "shootdate_save_btn"
inline constexpr Id kRecoilSave = "recoil.save";
// "shootdate_reset_btn"
inline constexpr Id kRecoilReset = "recoil.reset";
// "shootdate_import_btn"
inline constexpr Id kRecoilImport = "recoil.import";
// "shootdate_export_btn"
inline constexpr Id kRecoilExport = "recoil.export";
// arg 0 previous, 1 next shot
inline constexpr Id kRecoilStepShot = "recoil.step_shot";
// weapon option n
inline constexpr Id kRecoilWeapon = "recoil.weapon";
// shot option n
inline constexpr Id kRecoilShot = "recoil.shot";
// arg 0 horizontal, 1 vertical option
inline constexpr Id kRecoilDirection = "recoil.direction";
// distance or delay edit left: save the shot
inline constexpr Id kRecoilShotEdited = "recoil.shot_edited";

// ---- key assignment panel
// key button n of a keyboard picture (keyboards only): the key panel shows that key
inline constexpr Id kKeyboardKeyButton = "keyset.key_button";

// ---- mouse settings panel
// mouse key button n (mice only)
inline constexpr Id kMouseKeyButton = "mouse.key_button";
// DPI stage n switched
inline constexpr Id kMouseDpiEnable = "mouse.dpi_enable";
// settings page n
inline constexpr Id kMouseSettingsPage = "mouse.settings_page";
inline constexpr Id kMousePointerPrecision = "mouse.pointer_precision";
inline constexpr Id kMouseScrollPage = "mouse.scroll_page";
// DPI stage n slider set
inline constexpr Id kMouseDpiSlider = "mouse.dpi_slider";
// DPI stage n slider dragged
inline constexpr Id kMouseDpiPreview = "mouse.dpi_preview";
// value into "vexal_DPI_edit_" n
inline constexpr Id kMouseVexalDpiSliderMoved = "mouse.vexal_dpi_slider_moved";
// clamp 200..6500, move the slider n
inline constexpr Id kMouseVexalDpiEdited = "mouse.vexal_dpi_edited";
// DPI stage n edit left
inline constexpr Id kMouseDpiEdited = "mouse.dpi_edited";
inline constexpr Id kMousePointerSpeed = "mouse.pointer_speed";
// report-rate option n (mice only; the keyboard's handler shares the options)
inline constexpr Id kMouseReportRate = "mouse.report_rate";
inline constexpr Id kMouseScrollSpeed = "mouse.scroll_speed";
inline constexpr Id kMouseDoubleClickSpeed = "mouse.double_click_speed";

// ---- headset
// equaliser preset save
inline constexpr Id kHeadsetEqSave = "headset.eq_save";
// equaliser preset delete
inline constexpr Id kHeadsetEqDelete = "headset.eq_delete";
// "custom_eq_name_combo"
inline constexpr Id kHeadsetEqPresetPicked = "headset.eq_preset_picked";
// voice-effect option n
inline constexpr Id kHeadsetMagicOption = "headset.magic_option";
// equaliser option n
inline constexpr Id kHeadsetEqOption = "headset.eq_option";
// band n slider
inline constexpr Id kHeadsetEqBand = "headset.eq_band";
inline constexpr Id kHeadsetMagicEnable = "headset.magic_enable";
// "virtual_surround_option"
inline constexpr Id kHeadsetVirtualSurround = "headset.virtual_surround";
inline constexpr Id kHeadsetMicInEnable = "headset.mic_in_enable";
inline constexpr Id kHeadsetMicMonitorEnable = "headset.mic_monitor_enable";
inline constexpr Id kHeadsetMicInLevel = "headset.mic_in_level";
inline constexpr Id kHeadsetMicMonitorLevel = "headset.mic_monitor_level";

}  // namespace app::ops
