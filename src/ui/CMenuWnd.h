// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pop-up menu built from an XML layout: a <Menu> root holding <MenuElement name=".."
// text=".."/> items. Choosing an item (a click on it, Return on the focused item, or
// Choose(name)) posts WM_MENUCLICK to the owner window with wParam pointing at a MenuCmd
// (valid until the owner's handler returns) and closes the menu. The menu closes without
// a choice when it loses the focus or on Escape. It deletes itself when closed, so
// owners keep its handle, not a pointer: Close(handle) or IsOpen(handle).
#include <string>
#include <vector>

#include "ui/CListContainerElementUI.h"
#include "ui/CListUI.h"
#include "ui/WindowImplBase.h"

namespace ui {

struct MenuCmd {
    std::string szName;
    std::string szUserData;
    std::string szText;
    bool bChecked = false;
};

// Where the menu lies relative to its anchor point.
constexpr unsigned eMenuAlignment_Left = 1 << 1;   // extends to the right of the point
constexpr unsigned eMenuAlignment_Top = 1 << 2;    // extends below the point
constexpr unsigned eMenuAlignment_Right = 1 << 3;  // extends to the left of the point
constexpr unsigned eMenuAlignment_Bottom = 1 << 4; // extends above the point

// The item list of a menu.
class CMenuUI : public CListUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void DoEvent(TEventUI& event) override;  // Escape closes the menu
};

// One item; "checked" marks it.
class CMenuElementUI : public CListContainerElementUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    bool IsChecked() const { return m_bChecked; }
    void SetChecked(bool checked);
    Size EstimateSize(Size available) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(IRenderTarget& target, const Rect& paint) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    bool m_bChecked = false;
};

class CMenuWnd : public WindowImplBase {
public:
    // Builds the menu and shows it at `point` (screen). Null when the layout does not
    // build or there is no message loop.
    static CMenuWnd* CreateMenu(WindowHandle owner, std::string_view xml, Point point,
                                unsigned alignment = eMenuAlignment_Left | eMenuAlignment_Top);
    static bool IsOpen(WindowHandle menu);
    static void Close(WindowHandle menu);

    std::string GetWindowClassName() const override;
    // Chooses the item of that name as a click would; false when there is none.
    bool Choose(std::string_view itemName);
    std::vector<std::string> GetItemNames();
    CMenuUI* GetMenuRoot();

    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(std::string_view className) override;

protected:
    std::string GetSkinFile() override { return m_xml; }
    void InitWindow() override;
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage(WindowHandle hWnd) override;

private:
    CMenuWnd(WindowHandle owner, std::string xml, Point point, unsigned alignment);
    void Report(CMenuElementUI* item);

    WindowHandle m_owner;
    std::string m_xml;
    Point m_point;
    unsigned m_alignment;
    bool m_reported = false;
};

}  // namespace ui
