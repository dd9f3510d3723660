// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drop-down choice among list elements. The items are children but are not laid out in
// the combo: the renderer shows them in a drop-down while IsDropped(). The combo shows
// the selected item's text. SelectItem raises "itemselect" when asked to; up/down keys
// and the wheel move the selection (with notification).
#include "ui/CContainerUI.h"
#include "ui/IListOwnerUI.h"

namespace ui {

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    unsigned GetControlFlags() const override;

    // ---- IListOwnerUI
    TListInfoUI* GetListInfo() override { return &m_listInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) override;
    CControlUI* GetOwnerControl() override { return this; }

    int FindSelectable(int index, bool forward) const;
    // The selected item's text (translated), or empty.
    std::string GetText() const override;

    bool IsDropped() const { return m_bDropped; }
    void ShowDropDown(bool show);
    Size GetDropBoxSize() const { return m_szDropBox; }
    void SetDropBoxSize(Size size) { m_szDropBox = size; }

    unsigned GetButtonState() const { return m_uButtonState; }
    void SetNormalImage(std::string_view image) { m_sNormalImage = image; }
    void SetHotImage(std::string_view image) { m_sHotImage = image; }
    void SetPushedImage(std::string_view image) { m_sPushedImage = image; }
    void SetDisabledImage(std::string_view image) { m_sDisabledImage = image; }
    Rect GetTextPadding() const;
    void SetTextPadding(const Rect& padding) { m_rcTextPadding = padding; }

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;
    bool Activate() override;  // opens the drop-down
    void SetEnabled(bool enabled = true) override;
    CControlUI* FindControl(const FindProc& match, Point point, unsigned flags) override;
    void SetPos(const Rect& rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(IRenderTarget& target, const Rect& paint) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void PaintText(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    void Renumber();

    TListInfoUI m_listInfo;
    int m_iCurSel = -1;
    bool m_bDropped = false;
    Size m_szDropBox{0, 150};
    unsigned m_uButtonState = 0;
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sPushedImage;
    std::string m_sDisabledImage;
    Rect m_rcTextPadding;
};

}  // namespace ui
