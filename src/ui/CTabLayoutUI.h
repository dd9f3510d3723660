// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pages on top of each other, one shown at a time. Every page gets the whole content area.
// Selecting a page raises no notification.
#include "ui/CContainerUI.h"

namespace ui {

class CTabLayoutUI : public CContainerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetCurSel() const { return m_iCurSel; }  // -1 when empty
    // False when the index is out of range (the selection then stays).
    virtual bool SelectItem(int index);
    bool SelectItem(CControlUI* page);

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;
    void SetPos(const Rect& rc, bool needInvalidate = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    int m_iCurSel = -1;
    int m_iPendingSel = -1;  // "selectedid" read before the pages were added
};

}  // namespace ui
