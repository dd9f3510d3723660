// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button with a selected state. Options sharing a group name (per window) select one at
// a time. An option may be bound to a tab layout: selecting it shows that page.
//
// Notifications: activation raises "click" and then changes the selection; Selected()
// raises "selectchanged" (wParam = new state) when asked to. In a group only the option
// that becomes selected raises it, not the ones it deselects.
#include "ui/CButtonUI.h"

namespace ui {

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetGroup() const { return m_sGroupName; }
    void SetGroup(std::string_view group);
    bool IsSelected() const { return m_bSelected; }
    virtual void Selected(bool selected, bool triggerEvent = true);

    const std::string& GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(std::string_view image);
    const std::string& GetSelectedHotImage() const { return m_sSelectedHotImage; }
    void SetSelectedHotImage(std::string_view image);
    const std::string& GetSelectedForeImage() const { return m_sSelectedForeImage; }
    void SetSelectedForeImage(std::string_view image);
    Color GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    void SetSelectedTextColor(Color color);
    Color GetSelectedBkColor() const { return m_dwSelectedBkColor; }
    void SetSelectedBkColor(Color color);

    // The tab layout (by name, in the same window) and page this option shows.
    void SetBindTabLayoutName(std::string_view name) { m_sBindTabLayoutName = name; }
    const std::string& GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
    void SetBindTabLayoutIndex(int index) { m_iBindTabIndex = index; }
    int GetBindTabLayoutIndex() const { return m_iBindTabIndex; }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    bool Activate() override;
    void PaintBkColor(IRenderTarget& target) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void PaintText(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    void SelectBoundTab();

    bool m_bSelected = false;
    std::string m_sGroupName;
    std::string m_sSelectedImage;
    std::string m_sSelectedHotImage;
    std::string m_sSelectedForeImage;
    Color m_dwSelectedTextColor = 0;
    Color m_dwSelectedBkColor = 0;
    std::string m_sBindTabLayoutName;
    int m_iBindTabIndex = -1;
};

}  // namespace ui
