// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of every control: identity, texts, state, colours, images, size and position,
// attributes from layouts, painting through IRenderTarget and input through DoEvent.
//
// Ownership: a control belongs to its parent container (or, for the root, to its paint
// manager). Programs keep plain pointers to controls they found by name; they never own them.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/TEventUI.h"
#include "ui/UIDefs.h"

namespace ui {

class CPaintManagerUI;
class IRenderTarget;
struct TDrawInfo;

// Flags of CControlUI::FindControl.
constexpr unsigned UIFIND_ALL = 0x0000;
constexpr unsigned UIFIND_VISIBLE = 0x0001;
constexpr unsigned UIFIND_ENABLED = 0x0002;
constexpr unsigned UIFIND_HITTEST = 0x0004;  // `point` must lie inside; mouse input must be on
constexpr unsigned UIFIND_TOP_FIRST = 0x0008;
constexpr unsigned UIFIND_ME_FIRST = 0x8000;

// Control flags (GetControlFlags).
constexpr unsigned UIFLAG_TABSTOP = 0x0001;    // takes the keyboard focus when clicked
constexpr unsigned UIFLAG_SETCURSOR = 0x0002;

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // ---- identity
    // The class name ("Control", "Button", "DeviceKeyButton"): the layout element name.
    virtual std::string GetClass() const;
    // This object as the interface of that name ("Control", "Button", "ListItem", ...), or
    // null. The pointer is the named class's own: cast it to exactly that type.
    virtual void* GetInterface(std::string_view name);
    virtual unsigned GetControlFlags() const;

    const std::string& GetName() const { return m_sName; }
    virtual void SetName(std::string_view name);

    // ---- tree
    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }
    // Joins (or, with null, leaves) a manager's tree; with `init`, runs Init() once.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    void Init();          // DoInit once, the first time the control joins a manager
    virtual void DoInit();  // override to build sub-layouts, find children and the like

    // Depth-first search of this control and (for containers) its children.
    using FindProc = std::function<bool(CControlUI*)>;
    virtual CControlUI* FindControl(const FindProc& match, Point point, unsigned flags);

    // ---- texts. With resource text on, the stored text is a key of the current
    // language and GetText returns its translation (the key itself when it has none).
    virtual std::string GetText() const;
    virtual void SetText(std::string_view text);
    const std::string& GetTextKey() const { return m_sText; }  // as stored, untranslated
    bool IsResourceText() const { return m_bResourceText; }
    void SetResourceText(bool on);
    bool IsShowHtml() const { return m_bShowHtml; }
    virtual void SetShowHtml(bool on);
    std::string GetToolTip() const;  // translated like the text
    void SetToolTip(std::string_view toolTip);
    const std::string& GetUserData() const { return m_sUserData; }
    void SetUserData(std::string_view data);
    std::intptr_t GetTag() const { return m_iTag; }
    void SetTag(std::intptr_t tag) { m_iTag = tag; }
    const std::string& GetVirtualWnd() const;  // own, or the nearest parent's
    void SetVirtualWnd(std::string_view name) { m_sVirtualWnd = name; }
    const std::string& GetCursor() const { return m_sCursor; }
    void SetCursor(std::string_view cursor) { m_sCursor = cursor; }

    // ---- state
    bool IsVisible() const { return m_bVisible && m_bInternVisible; }
    bool IsOwnVisible() const { return m_bVisible; }  // the flag SetVisible sets
    virtual void SetVisible(bool visible = true);
    bool IsInternVisible() const { return m_bInternVisible; }
    virtual void SetInternVisible(bool visible = true);  // set by containers (tab pages)
    // Enabled means the control's own flag and every ancestor's: a disabled container
    // disables what it holds.
    bool IsEnabled() const;
    bool IsOwnEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    virtual void SetMouseEnabled(bool enabled = true);
    bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
    void SetKeyboardEnabled(bool enabled = true) { m_bKeyboardEnabled = enabled; }
    bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();  // asks the manager; raises "killfocus"/"setfocus"
    bool IsContextMenuUsed() const { return m_bMenuUsed; }
    void SetContextMenuUsed(bool used) { m_bMenuUsed = used; }
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool on = true);

    // ---- colours (ARGB) and images (TDrawInfo strings)
    Color GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(Color color);
    Color GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(Color color);
    Color GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(Color color);
    Color GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(Color color);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int size);
    Size GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(Size round);
    const std::string& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(std::string_view image);
    const std::string& GetForeImage() const { return m_sForeImage; }
    void SetForeImage(std::string_view image);

    // ---- size and position. Fixed sizes and paddings are stored at 96 DPI; the getters
    // return them scaled for the manager's DPI, as the layout uses them.
    const Rect& GetPos() const { return m_rcItem; }
    // Places the control (client pixels); containers lay their children out here.
    virtual void SetPos(const Rect& rc, bool needInvalidate = true);
    int GetWidth() const { return m_rcItem.Width(); }
    int GetHeight() const { return m_rcItem.Height(); }
    Rect GetPadding() const;  // margin outside the control, scaled
    void SetPadding(const Rect& padding);
    Rect GetFloatPos() const;  // "pos" of a float control, relative to its parent, scaled
    void SetFloatPos(const Rect& pos);
    int GetFixedWidth() const;  // 0: stretch
    void SetFixedWidth(int cx);
    int GetFixedHeight() const;
    void SetFixedHeight(int cy);
    int GetMinWidth() const;
    void SetMinWidth(int cx);
    int GetMaxWidth() const;
    void SetMaxWidth(int cx);
    int GetMinHeight() const;
    void SetMinHeight(int cy);
    int GetMaxHeight() const;
    void SetMaxHeight(int cy);
    // The size the control wants inside `available` (scaled); 0 in a direction: stretch.
    virtual Size EstimateSize(Size available);

    // ---- attributes
    virtual void SetAttribute(std::string_view name, std::string_view value);
    // name="value" pairs, as in styles and default attribute lists.
    void ApplyAttributeList(std::string_view list);

    // ---- painting. DoPaint draws the control's steps in order: background colour,
    // background image, status image, foreground (text), border.
    virtual void DoPaint(IRenderTarget& target, const Rect& paint);
    virtual void PaintBkColor(IRenderTarget& target);
    virtual void PaintBkImage(IRenderTarget& target);
    virtual void PaintStatusImage(IRenderTarget& target);
    virtual void PaintForeColor(IRenderTarget& target);
    // An image description ("file='…' dest='…'", or a bare file name) with its modifiers,
    // parsed (kept for the next draw of the same description).
    static const TDrawInfo& ParsedImage(std::string_view image, std::string_view modify);
    static constexpr std::size_t kMaxParsedImages = 4096;
    virtual void PaintForeImage(IRenderTarget& target);
    virtual void PaintText(IRenderTarget& target);
    virtual void PaintBorder(IRenderTarget& target);
    // A control that draws one tinted image, its light, gives the tint and level it draws
    // it with now: a renderer that noted where the light goes may lay it there again
    // without painting the control. False for a control without such a light.
    virtual bool GetLightTint(Color& /*tint*/, std::uint8_t& /*alpha*/) const { return false; }
    // Draws an image string in the control's rectangle; `modify` adds or overrides
    // attributes ("source='0,0,10,10'"). False when the string names no image.
    bool DrawImage(IRenderTarget& target, std::string_view image, std::string_view modify = {},
                   Color tint = 0, std::uint8_t alpha = 255);
    // The same in any rectangle (client pixels); a "dest" attribute is relative to `area`.
    bool DrawImageAt(IRenderTarget& target, const Rect& area, std::string_view image,
                     std::string_view modify = {}, Color tint = 0, std::uint8_t alpha = 255);

    // ---- input and activation
    // Entry for events from the manager: runs the event hook, then DoEvent.
    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);
    // An extra observer of this control's events (the Qt renderer uses it); returning
    // false swallows the event.
    void SetEventHook(std::function<bool(TEventUI&)> hook) { m_eventHook = std::move(hook); }
    // What a click does (buttons raise "click"); false when disabled or hidden.
    virtual bool Activate();

    // ---- invalidation
    void Invalidate();          // repaint
    void NeedUpdate();          // relayout this control
    void NeedParentUpdate();    // relayout the parent (size or visibility changed)
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }

protected:
    // Scales a 96-DPI value for the manager (unchanged without one).
    int Scale(int value) const;
    Rect ScaleRect(const Rect& rc) const;

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    std::string m_sName;
    std::string m_sText;
    std::string m_sToolTip;
    std::string m_sUserData;
    std::string m_sVirtualWnd;
    std::string m_sCursor;
    std::string m_sPendingStyle;  // "style" set before the control had a manager
    std::intptr_t m_iTag = 0;
    bool m_bResourceText = true;
    bool m_bShowHtml = false;
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bMenuUsed = false;
    bool m_bFloat = false;
    bool m_bInited = false;
    bool m_bUpdateNeeded = true;

    Rect m_rcItem;
    Rect m_rcPadding;
    Rect m_rcFloat;
    Size m_cxyFixed;
    Size m_cxyMin;
    Size m_cxyMax{9999, 9999};

    Color m_dwBackColor = 0;
    Color m_dwBackColor2 = 0;
    Color m_dwBorderColor = 0;
    Color m_dwFocusBorderColor = 0;
    int m_nBorderSize = 0;
    Size m_cxyBorderRound;
    std::string m_sBkImage;
    std::string m_sForeImage;

private:
    std::function<bool(TEventUI&)> m_eventHook;
};

}  // namespace ui
