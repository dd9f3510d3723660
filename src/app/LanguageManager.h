// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The languages of the program: the list shipped in "DefaultData/Language.config", the
// choice saved between runs, applying a language (its text file, the main window's font
// table, the windows that show texts) and translating a single key.
//
// One instance belongs to the main window and works on its paint manager. UI thread only.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/LanguageList.h"
#include "platform/SettingsStore.h"

namespace ui {
class CControlUI;
class CPaintManagerUI;
}  // namespace ui

namespace app {

using LanguageEntry = ::LanguageEntry;

class LanguageManager {
public:
    static constexpr int kNoLanguage = -1;
    static constexpr const char* kFontFace = "Verdana Unicode MS";

    // `mainManager` is the main window's; `store` keeps the choice ("LANGUAGE").
    explicit LanguageManager(ui::CPaintManagerUI& mainManager,
                             platform::SettingsStore store = platform::SettingsStore());

    // "DefaultData/Language.config" beside the program, and its entries (none when the
    // file is missing or not JSON).
    static std::filesystem::path ConfigFile();
    static std::vector<LanguageEntry> ReadLanguageList();
    // Entry `index` of the list; an index outside it (or a list that cannot be read)
    // gives an empty name and file and id 0.
    static LanguageEntry EntryAt(int index);

    // The index of the saved choice; 0 when it is not in the list. With nothing saved, the
    // language of the desktop's locale (LocaleLanguage), or 0 when the list lacks it.
    int ReadSavedLanguage() const;
    // Whether a choice was saved at all.
    bool HasSavedChoice() const;
    // Switches to language `index` (nothing when it is already the current one) and,
    // with `remember`, saves it as the choice.
    void ApplyLanguage(int index, bool remember = true);
    int CurrentIndex() const { return m_current; }
    // Stores the choice; false (traced) when it could not be written.
    bool SaveLanguage(int id);
    // Replaces every font of the main window (own and shared) with the program's table.
    void BuildFontTable(std::string_view face);
    // Whether switching from `current` to `next` needs a new font table: the languages
    // whose texts need other glyphs (indices 0, 2 and 15) bring their own, and the first
    // application always builds one.
    static bool NeedsFontRebuild(int current, int next);

    // Fills a list or combo with the languages (markup on) and selects the current one
    // without raising a notification. The overload finds "Language_combox_info".
    void FillLanguageList(ui::CControlUI* listOrCombo) const;
    void FillLanguageList(ui::CPaintManagerUI& settingsManager) const;

    // After a switch the main window tells its child windows (settings, about) to repaint
    // their texts; it sets this to send them 0xC11.
    void SetChildWindowsNotifier(std::function<void()> notify) {
        m_notifyChildren = std::move(notify);
    }

    // The current language's text for `key`, read back through the window's hidden label
    // (`probe`, "text_test" by default) so that it is exactly what that window would show;
    // without the label, the skin library's text.
    static std::string Translate(ui::CPaintManagerUI& manager, std::string_view key,
                                 std::string_view probe = "text_test");

private:
    void Repaint();

    ui::CPaintManagerUI& m_pm;
    platform::SettingsStore m_store;
    int m_current = kNoLanguage;
    std::function<void()> m_notifyChildren;
};

}  // namespace app
