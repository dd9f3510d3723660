// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CControlUI.h"

#include <map>
#include <utility>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/IRenderTarget.h"
#include "ui/TDrawInfo.h"

namespace ui {

namespace {

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

std::string CControlUI::GetClass() const { return "Control"; }

void* CControlUI::GetInterface(std::string_view name) {
    if (name == "Control") return this;
    return nullptr;
}

unsigned CControlUI::GetControlFlags() const { return 0; }

void CControlUI::SetName(std::string_view name) {
    if (m_sName == name) return;
    m_sName = name;
    if (m_pManager != nullptr) m_pManager->NameChanged();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_pManager = manager;
    m_pParent = parent;
    if (manager != nullptr && !m_sPendingStyle.empty()) {
        std::string style = std::move(m_sPendingStyle);
        m_sPendingStyle.clear();
        if (const std::string* list = manager->GetStyle(style)) ApplyAttributeList(*list);
    }
    if (init && parent != nullptr) Init();
}

void CControlUI::Init() {
    if (m_bInited) return;
    m_bInited = true;
    DoInit();
}

void CControlUI::DoInit() {}

CControlUI* CControlUI::FindControl(const FindProc& match, Point point, unsigned flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 && (!m_bMouseEnabled || !m_rcItem.Contains(point)))
        return nullptr;
    return match(this) ? this : nullptr;
}

// ---- texts

std::string CControlUI::GetText() const {
    if (!m_bResourceText || m_sText.empty()) return m_sText;
    return CResourceManager::GetInstance().GetText(m_sText);
}

void CControlUI::SetText(std::string_view text) {
    if (m_sText == text) return;
    m_sText = text;
    Invalidate();
}

void CControlUI::SetResourceText(bool on) {
    if (m_bResourceText == on) return;
    m_bResourceText = on;
    Invalidate();
}

void CControlUI::SetShowHtml(bool on) {
    if (m_bShowHtml == on) return;
    m_bShowHtml = on;
    Invalidate();
}

std::string CControlUI::GetToolTip() const {
    if (!m_bResourceText || m_sToolTip.empty()) return m_sToolTip;
    return CResourceManager::GetInstance().GetText(m_sToolTip);
}

void CControlUI::SetToolTip(std::string_view toolTip) { m_sToolTip = toolTip; }

void CControlUI::SetUserData(std::string_view data) { m_sUserData = data; }

const std::string& CControlUI::GetVirtualWnd() const {
    if (!m_sVirtualWnd.empty() || m_pParent == nullptr) return m_sVirtualWnd;
    return m_pParent->GetVirtualWnd();
}

// ---- state

bool CControlUI::IsEnabled() const {
    return m_bEnabled && (m_pParent == nullptr || m_pParent->IsEnabled());
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    bool wasVisible = IsVisible();
    m_bVisible = visible;
    if (wasVisible != IsVisible()) NeedParentUpdate();
    if (!IsVisible() && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

void CControlUI::SetInternVisible(bool visible) {
    m_bInternVisible = visible;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

void CControlUI::SetEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    Invalidate();
}

void CControlUI::SetMouseEnabled(bool enabled) { m_bMouseEnabled = enabled; }

void CControlUI::SetFocus() {
    if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

void CControlUI::SetFloat(bool on) {
    if (m_bFloat == on) return;
    m_bFloat = on;
    NeedParentUpdate();
}

// ---- colours and images

void CControlUI::SetBkColor(Color color) {
    if (m_dwBackColor == color) return;
    m_dwBackColor = color;
    Invalidate();
}

void CControlUI::SetBkColor2(Color color) {
    if (m_dwBackColor2 == color) return;
    m_dwBackColor2 = color;
    Invalidate();
}

void CControlUI::SetBorderColor(Color color) {
    if (m_dwBorderColor == color) return;
    m_dwBorderColor = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(Color color) {
    if (m_dwFocusBorderColor == color) return;
    m_dwFocusBorderColor = color;
    Invalidate();
}

void CControlUI::SetBorderSize(int size) {
    if (m_nBorderSize == size) return;
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderRound(Size round) {
    m_cxyBorderRound = round;
    Invalidate();
}

void CControlUI::SetBkImage(std::string_view image) {
    if (m_sBkImage == image) return;
    m_sBkImage = image;
    Invalidate();
}

void CControlUI::SetForeImage(std::string_view image) {
    if (m_sForeImage == image) return;
    m_sForeImage = image;
    Invalidate();
}

// ---- size and position

void CControlUI::SetPos(const Rect& rc, bool needInvalidate) {
    Rect newRect = rc;
    if (newRect.right < newRect.left) newRect.right = newRect.left;
    if (newRect.bottom < newRect.top) newRect.bottom = newRect.top;
    if (needInvalidate && !(newRect == m_rcItem)) Invalidate();
    m_rcItem = newRect;
    m_bUpdateNeeded = false;
    if (needInvalidate) Invalidate();
}

Rect CControlUI::GetPadding() const { return ScaleRect(m_rcPadding); }

void CControlUI::SetPadding(const Rect& padding) {
    m_rcPadding = padding;
    NeedParentUpdate();
}

Rect CControlUI::GetFloatPos() const {
    Rect pos = ScaleRect(m_rcFloat);
    // The size follows the fixed size, which may have been changed after "pos".
    pos.right = pos.left + GetFixedWidth();
    pos.bottom = pos.top + GetFixedHeight();
    return pos;
}

void CControlUI::SetFloatPos(const Rect& pos) {
    m_rcFloat = pos;
    m_cxyFixed.cx = pos.Width() > 0 ? pos.Width() : 0;
    m_cxyFixed.cy = pos.Height() > 0 ? pos.Height() : 0;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const { return Scale(m_cxyFixed.cx); }
void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0 || m_cxyFixed.cx == cx) return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}
int CControlUI::GetFixedHeight() const { return Scale(m_cxyFixed.cy); }
void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0 || m_cxyFixed.cy == cy) return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}
int CControlUI::GetMinWidth() const { return Scale(m_cxyMin.cx); }
void CControlUI::SetMinWidth(int cx) {
    if (cx < 0) return;
    m_cxyMin.cx = cx;
    NeedParentUpdate();
}
int CControlUI::GetMaxWidth() const { return Scale(m_cxyMax.cx); }
void CControlUI::SetMaxWidth(int cx) {
    if (cx < 0) return;
    m_cxyMax.cx = cx;
    NeedParentUpdate();
}
int CControlUI::GetMinHeight() const { return Scale(m_cxyMin.cy); }
void CControlUI::SetMinHeight(int cy) {
    if (cy < 0) return;
    m_cxyMin.cy = cy;
    NeedParentUpdate();
}
int CControlUI::GetMaxHeight() const { return Scale(m_cxyMax.cy); }
void CControlUI::SetMaxHeight(int cy) {
    if (cy < 0) return;
    m_cxyMax.cy = cy;
    NeedParentUpdate();
}

Size CControlUI::EstimateSize(Size /*available*/) {
    return Size{GetFixedWidth(), GetFixedHeight()};
}

// ---- attributes

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "name") SetName(value);
    else if (name == "text") SetText(value);
    else if (name == "tooltip") SetToolTip(value);
    else if (name == "userdata") SetUserData(value);
    else if (name == "tag") SetTag(ParseInt(value));
    else if (name == "pos") {
        Rect rc = ParseRect(value);
        SetFloatPos(rc);
    } else if (name == "padding") SetPadding(ParseRect(value));
    else if (name == "width") SetFixedWidth(ParseInt(value));
    else if (name == "height") SetFixedHeight(ParseInt(value));
    else if (name == "minwidth") SetMinWidth(ParseInt(value));
    else if (name == "minheight") SetMinHeight(ParseInt(value));
    else if (name == "maxwidth") SetMaxWidth(ParseInt(value));
    else if (name == "maxheight") SetMaxHeight(ParseInt(value));
    else if (name == "float") SetFloat(ParseBool(value));
    else if (name == "bkcolor" || name == "bkcolor1") SetBkColor(ParseColor(value));
    else if (name == "bkcolor2") SetBkColor2(ParseColor(value));
    else if (name == "bordercolor") SetBorderColor(ParseColor(value));
    else if (name == "focusbordercolor") SetFocusBorderColor(ParseColor(value));
    else if (name == "bordersize") SetBorderSize(ParseInt(value));
    else if (name == "borderround") SetBorderRound(ParseSize(value));
    else if (name == "bkimage") SetBkImage(value);
    else if (name == "foreimage") SetForeImage(value);
    else if (name == "visible") SetVisible(ParseBool(value));
    else if (name == "enabled") SetEnabled(ParseBool(value));
    else if (name == "mouse") SetMouseEnabled(ParseBool(value));
    else if (name == "keyboard") SetKeyboardEnabled(ParseBool(value));
    else if (name == "menu") SetContextMenuUsed(ParseBool(value));
    else if (name == "virtualwnd") SetVirtualWnd(value);
    else if (name == "cursor") SetCursor(value);
    else if (name == "resourcetext") SetResourceText(ParseBool(value));
    else if (name == "showhtml") SetShowHtml(ParseBool(value));
    else if (name == "style") {
        const std::string* list = m_pManager != nullptr ? m_pManager->GetStyle(value) : nullptr;
        if (list != nullptr) ApplyAttributeList(*list);
        else if (m_pManager == nullptr) m_sPendingStyle = value;  // applied on joining a tree
    }
}

void CControlUI::ApplyAttributeList(std::string_view list) {
    // Copy: applying a style may replace the string the view points into.
    std::string copy(list);
    attr::ForEachAttribute(copy, [this](std::string_view name, std::string_view value) {
        SetAttribute(name, value);
    });
}

// ---- painting

void CControlUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    if (!paint.Intersects(m_rcItem)) return;
    PaintBkColor(target);
    PaintBkImage(target);
    PaintStatusImage(target);
    PaintForeColor(target);
    PaintForeImage(target);
    PaintText(target);
    PaintBorder(target);
}

void CControlUI::PaintBkColor(IRenderTarget& target) {
    if ((m_dwBackColor >> 24) != 0) target.FillRect(m_rcItem, m_dwBackColor);
}

void CControlUI::PaintBkImage(IRenderTarget& target) {
    if (!m_sBkImage.empty()) DrawImage(target, m_sBkImage);
}

void CControlUI::PaintStatusImage(IRenderTarget& /*target*/) {}
void CControlUI::PaintForeColor(IRenderTarget& /*target*/) {}

void CControlUI::PaintForeImage(IRenderTarget& target) {
    if (!m_sForeImage.empty()) DrawImage(target, m_sForeImage);
}

void CControlUI::PaintText(IRenderTarget& /*target*/) {}

void CControlUI::PaintBorder(IRenderTarget& target) {
    Color color = (m_bFocused && (m_dwFocusBorderColor >> 24) != 0) ? m_dwFocusBorderColor
                                                                     : m_dwBorderColor;
    if (m_nBorderSize <= 0 || (color >> 24) == 0) return;
    int width = Scale(m_nBorderSize);
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        target.DrawRoundRect(m_rcItem, width, Scale(m_cxyBorderRound.cx),
                             Scale(m_cxyBorderRound.cy), color);
    } else {
        target.DrawRect(m_rcItem, width, color);
    }
}

bool CControlUI::DrawImage(IRenderTarget& target, std::string_view image, std::string_view modify,
                           Color tint, std::uint8_t alpha) {
    return DrawImageAt(target, m_rcItem, image, modify, tint, alpha);
}

namespace {

// Orders (image, modifiers) pairs, owned or viewed alike.
struct DescriptionLess {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
        return std::pair<std::string_view, std::string_view>(a.first, a.second) <
               std::pair<std::string_view, std::string_view>(b.first, b.second);
    }
};

}  // namespace

const TDrawInfo& CControlUI::ParsedImage(std::string_view image, std::string_view modify) {
    // The same few descriptions are drawn over and over (a running preview draws every
    // key many times a second): each is parsed once per painting thread.
    static thread_local std::map<std::pair<std::string, std::string>, TDrawInfo, DescriptionLess>
        parsed;
    const std::pair<std::string_view, std::string_view> key(image, modify);
    auto it = parsed.find(key);
    if (it != parsed.end()) return it->second;
    if (parsed.size() >= kMaxParsedImages) parsed.clear();
    std::string full;
    if (image.find('=') == std::string_view::npos) {
        full = "file='" + std::string(image) + "'";
    } else {
        full = std::string(image);
    }
    if (!modify.empty()) {
        full += ' ';
        full += modify;
    }
    TDrawInfo info = TDrawInfo::Parse(full);
    info.sDrawString = std::string(image);
    return parsed.emplace(std::make_pair(std::string(image), std::string(modify)), std::move(info))
        .first->second;
}

bool CControlUI::DrawImageAt(IRenderTarget& target, const Rect& area, std::string_view image,
                             std::string_view modify, Color tint, std::uint8_t alpha) {
    if (image.empty() || !target.WantsImage(tint)) return false;
    if ((tint >> 24) != 0) target.OverlayDrawnBy(this);
    const TDrawInfo& info = ParsedImage(image, modify);
    if (info.IsEmpty()) return false;
    Rect dest = area;
    if (!info.rcDest.IsEmpty()) {
        Rect d = ScaleRect(info.rcDest);
        dest = Rect{area.left + d.left, area.top + d.top, area.left + d.right, area.top + d.bottom};
        dest.right = Clamp(dest.right, dest.left, area.right);
        dest.bottom = Clamp(dest.bottom, dest.top, area.bottom);
    }
    target.DrawImage(dest, info, tint, alpha);
    return true;
}

// ---- input

void CControlUI::Event(TEventUI& event) {
    if (m_eventHook && !m_eventHook(event)) return;
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case EventType::SetCursor:
        return;
    case EventType::SetFocus:
        m_bFocused = true;
        Invalidate();
        return;
    case EventType::KillFocus:
        m_bFocused = false;
        Invalidate();
        return;
    case EventType::Timer:
        if (m_pManager != nullptr)
            m_pManager->SendNotify(this, "timer", event.wParam, event.lParam);
        return;
    case EventType::ContextMenu:
        if (IsContextMenuUsed() && m_pManager != nullptr) {
            m_pManager->SendNotify(this, "menu", static_cast<std::uintptr_t>(event.ptMouse.x),
                                   event.ptMouse.y);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

// ---- invalidation

void CControlUI::Invalidate() {
    if (m_pManager != nullptr && IsVisible()) m_pManager->Invalidate(m_rcItem);
}

void CControlUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent != nullptr) m_pParent->NeedUpdate();
    else NeedUpdate();
}

int CControlUI::Scale(int value) const {
    return m_pManager != nullptr ? m_pManager->ScaleValue(value) : value;
}

Rect CControlUI::ScaleRect(const Rect& rc) const {
    return m_pManager != nullptr ? m_pManager->ScaleRect(rc) : rc;
}

}  // namespace ui
