// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list row for skins that want a row of two texts and a delay field without building it
// themselves: on joining its window it builds "ComboEditElementItem.xml" as its content
// and keeps the parts "text1", "text2" and "delay_edit". Return on the row activates it and
// raises "return" as well; a right click raises "menu" (as any control does) only when the
// row has the context-menu flag.
// Row images are the list's business, so the image attributes of a row are ignored.
#include "ui/CListContainerElementUI.h"

namespace ui {

class CEditUI;
class CLabelUI;

class CComboEditContainerElementUI : public CListContainerElementUI {
public:
    static constexpr const char* kLayout = "XML\\CustomControlXML\\ComboEditElementItem.xml";

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void DoInit() override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    // The parts; null before the row joined a window or when the layout lacks them.
    CLabelUI* FirstText() const { return m_pText1; }
    CLabelUI* SecondText() const { return m_pText2; }
    CEditUI* DelayEdit() const { return m_pDelay; }

private:
    CLabelUI* m_pText1 = nullptr;
    CLabelUI* m_pText2 = nullptr;
    CEditUI* m_pDelay = nullptr;
};

}  // namespace ui
