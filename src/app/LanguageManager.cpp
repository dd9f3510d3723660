// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LanguageManager.h"

#include <charconv>

#include "app/LocaleLanguage.h"
#include "data/DataPaths.h"
#include "data/JsonAccess.h"
#include "data/JsonDataFile.h"
#include "data/LanguageList.h"
#include "platform/Trace.h"
#include "ui/CContainerUI.h"
#include "ui/CControlUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/IListOwnerUI.h"

namespace app {

namespace {

constexpr const char* kSettingName = "LANGUAGE";

struct FontRow {
    int id;
    int size;
    bool bold;
    bool underline;
};

constexpr FontRow kFontTable[] = {
    {0, 15, false, false}, {1, 14, false, true},  {2, 18, false, false},  {3, 30, false, false},
    {4, 16, false, false}, {5, 20, false, false}, {6, 22, false, false},  {7, 14, false, false},
    {8, 12, false, false}, {9, 11, false, false}, {10, 10, false, false}, {11, 28, false, false},
    {50, 18, true, false},
};
constexpr int kDefaultFontSize = 12;

bool HasOwnGlyphs(int index) {
    return index == 0 || index == 2 || index == 15;
}

}  // namespace

LanguageManager::LanguageManager(ui::CPaintManagerUI& mainManager, platform::SettingsStore store)
    : m_pm(mainManager), m_store(std::move(store)) {}

std::filesystem::path LanguageManager::ConfigFile() {
    return DataPaths::DefaultDataDir() / "Language.config";
}

std::vector<LanguageEntry> LanguageManager::ReadLanguageList() {
    return LanguageList::Read(JsonDataFile(), ConfigFile());
}

LanguageEntry LanguageManager::EntryAt(int index) {
    const std::vector<LanguageEntry> entries = ReadLanguageList();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    return entries[static_cast<std::size_t>(index)];
}

bool LanguageManager::HasSavedChoice() const { return m_store.Get(kSettingName).has_value(); }

int LanguageManager::ReadSavedLanguage() const {
    const std::optional<std::string> saved = m_store.Get(kSettingName);
    if (!saved) {
        const int id = LocaleLanguage::IdFromEnvironment();
        const std::vector<LanguageEntry> entries = ReadLanguageList();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].id == id) return static_cast<int>(i);
        }
        return 0;
    }
    int id = 0;
    const char* first = saved->data();
    const char* last = first + saved->size();
    auto [end, error] = std::from_chars(first, last, id);
    if (error != std::errc() || end != last) return 0;
    const std::vector<LanguageEntry> entries = ReadLanguageList();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id == id) return static_cast<int>(i);
    }
    return 0;
}

bool LanguageManager::NeedsFontRebuild(int current, int next) {
    return HasOwnGlyphs(next) || HasOwnGlyphs(current) || current == kNoLanguage;
}

void LanguageManager::ApplyLanguage(int index, bool remember) {
    if (index == m_current) return;
    if (NeedsFontRebuild(m_current, index)) BuildFontTable(kFontFace);
    m_current = index;

    const LanguageEntry entry = EntryAt(index);
    ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
    if (entry.file.empty()) {
        // No such language (or no list at all): loading "nothing" would wipe every text
        // and leave the windows showing bare keys, and saving id 0 would replace the
        // user's choice for good. Keep the texts loaded so far and the saved choice.
        platform::TraceF("language %d is not in the language list\n", index);
    } else {
        resources.SetLanguage(entry.name);
        resources.LoadLanguage(entry.file);
        resources.ReloadText();
        if (remember) SaveLanguage(entry.id);
    }
    Repaint();
}

bool LanguageManager::SaveLanguage(int id) {
    if (!m_store.Set(kSettingName, std::to_string(id))) {
        platform::TraceF("language choice not saved to %s\n", m_store.File().c_str());
        return false;
    }
    platform::Trace("写成功！");
    return true;
}

void LanguageManager::BuildFontTable(std::string_view face) {
    m_pm.RemoveAllFonts();
    m_pm.SetDefaultFont(face, kDefaultFontSize, false, false, false, true);
    for (const FontRow& row : kFontTable) {
        m_pm.AddFont(row.id, face, row.size, row.bold, row.underline, false, true);
    }
}

void LanguageManager::Repaint() {
    m_pm.Invalidate();
    if (m_notifyChildren) m_notifyChildren();
    // The root's update also marks the manager's.
    if (ui::CControlUI* root = m_pm.GetRoot()) root->NeedUpdate();
}

void LanguageManager::FillLanguageList(ui::CControlUI* listOrCombo) const {
    if (listOrCombo == nullptr) return;
    auto* container = static_cast<ui::CContainerUI*>(listOrCombo->GetInterface("Container"));
    auto* owner = static_cast<ui::IListOwnerUI*>(listOrCombo->GetInterface("IListOwner"));
    if (container == nullptr || owner == nullptr) return;
    // Filled again when the window is reopened: start from an empty list.
    container->RemoveAll();
    for (const LanguageEntry& entry : ReadLanguageList()) {
        auto* item = new ui::CListLabelElementUI();
        item->SetShowHtml(true);
        // Each name is written in its own language; it is not a key to translate.
        item->SetResourceText(false);
        item->SetText(entry.text);
        container->Add(item);
    }
    owner->SelectItem(m_current, false, false);
}

void LanguageManager::FillLanguageList(ui::CPaintManagerUI& settingsManager) const {
    FillLanguageList(settingsManager.FindControl("Language_combox_info"));
}

std::string LanguageManager::Translate(ui::CPaintManagerUI& manager, std::string_view key,
                                       std::string_view probe) {
    ui::CControlUI* label = manager.FindControl(probe);
    if (label == nullptr) return ui::CResourceManager::GetInstance().GetText(key);
    label->SetText(key);
    return label->GetText();
}

}  // namespace app
