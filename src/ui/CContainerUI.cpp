// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CContainerUI.h"

#include <algorithm>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"
#include "ui/LinearLayout.h"

namespace ui {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    // Children first: each forgets itself in the manager while this container still exists.
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items) delete item;
}

std::string CContainerUI::GetClass() const { return "Container"; }

void* CContainerUI::GetInterface(std::string_view name) {
    if (name == "Container") return this;
    return CControlUI::GetInterface(name);
}

// ---- children

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    int from = GetItemIndex(control);
    if (from < 0 || index < 0 || index >= GetCount()) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + index, control);
    if (m_pManager != nullptr) m_pManager->NameChanged();
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr || control == this || GetItemIndex(control) >= 0) return false;
    if (index < 0) index = 0;
    if (index > GetCount()) index = GetCount();
    if (m_pManager != nullptr) m_pManager->InitControls(control, this);
    else control->SetManager(nullptr, this, false);
    m_items.insert(m_items.begin() + index, control);
    if (IsVisible()) NeedUpdate();
    else control->SetInternVisible(false);
    if (m_pManager != nullptr) m_pManager->NameChanged();
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    return RemoveAt(index, doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) return false;
    m_items.erase(m_items.begin() + index);
    ReleaseChild(control, !doNotDestroy);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items) ReleaseChild(item, true);
    m_szScrollPos = Size{};
    NeedUpdate();
}

void CContainerUI::ReleaseChild(CControlUI* control, bool destroy) {
    CPaintManagerUI* manager = m_pManager;
    if (manager != nullptr) {
        manager->ReapObjects(control);
        manager->NameChanged();
    }
    if (!destroy) {
        control->SetManager(nullptr, nullptr, false);
        return;
    }
    if (m_bDelayedDestroy && manager != nullptr) {
        manager->AddDelayedCleanup(control);
    } else {
        control->SetManager(nullptr, nullptr, false);
        delete control;
    }
}

CControlUI* CContainerUI::FindSubControl(std::string_view name) {
    for (CControlUI* item : m_items) {
        CControlUI* found = item->FindControl(
            [name](CControlUI* c) { return c->GetName() == name; }, Point{}, UIFIND_ALL);
        if (found != nullptr) return found;
    }
    return nullptr;
}

// ---- layout attributes

Rect CContainerUI::GetInset() const { return ScaleRect(m_rcInset); }

void CContainerUI::SetInset(const Rect& inset) {
    m_rcInset = inset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const { return Scale(m_iChildPadding); }

void CContainerUI::SetChildPadding(int padding) {
    m_iChildPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetChildAlign(unsigned align) {
    m_uChildAlign = align;
    NeedUpdate();
}

void CContainerUI::SetChildVAlign(unsigned align) {
    m_uChildVAlign = align;
    NeedUpdate();
}

// ---- scrolling

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
    m_bVScroll = vertical;
    m_bHScroll = horizontal;
    if (!vertical) m_szScrollPos.cy = 0;
    if (!horizontal) m_szScrollPos.cx = 0;
    NeedUpdate();
}

Size CContainerUI::GetScrollRange() const {
    Rect content = ContentRect();
    Size range;
    if (m_bHScroll) range.cx = std::max(0, m_szContent.cx - content.Width());
    if (m_bVScroll) range.cy = std::max(0, m_szContent.cy - content.Height());
    return range;
}

void CContainerUI::SetScrollPos(Size pos) {
    Size range = GetScrollRange();
    pos.cx = std::clamp(pos.cx, 0, range.cx);
    pos.cy = std::clamp(pos.cy, 0, range.cy);
    if (pos == m_szScrollPos) return;
    m_szScrollPos = pos;
    NeedUpdate();
    Invalidate();
}

int CContainerUI::GetScrollStepSize() const { return Scale(8); }

void CContainerUI::LineUp() {
    SetScrollPos(Size{m_szScrollPos.cx, m_szScrollPos.cy - GetScrollStepSize()});
}
void CContainerUI::LineDown() {
    SetScrollPos(Size{m_szScrollPos.cx, m_szScrollPos.cy + GetScrollStepSize()});
}
void CContainerUI::PageUp() {
    SetScrollPos(Size{m_szScrollPos.cx, m_szScrollPos.cy - ContentRect().Height()});
}
void CContainerUI::PageDown() {
    SetScrollPos(Size{m_szScrollPos.cx, m_szScrollPos.cy + ContentRect().Height()});
}
void CContainerUI::HomeUp() { SetScrollPos(Size{m_szScrollPos.cx, 0}); }
void CContainerUI::EndDown() { SetScrollPos(Size{m_szScrollPos.cx, GetScrollRange().cy}); }
void CContainerUI::LineLeft() {
    SetScrollPos(Size{m_szScrollPos.cx - GetScrollStepSize(), m_szScrollPos.cy});
}
void CContainerUI::LineRight() {
    SetScrollPos(Size{m_szScrollPos.cx + GetScrollStepSize(), m_szScrollPos.cy});
}

void CContainerUI::SetContentSize(Size size) {
    m_szContent = size;
    Size range = GetScrollRange();
    m_szScrollPos.cx = std::clamp(m_szScrollPos.cx, 0, range.cx);
    m_szScrollPos.cy = std::clamp(m_szScrollPos.cy, 0, range.cy);
}

Rect CContainerUI::ContentRect() const { return m_rcItem.Deflate(GetInset()); }

// ---- overrides

void CContainerUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    CControlUI::SetVisible(visible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* item : m_items) item->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(const FindProc& match, Point point, unsigned flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if (hitTest && !m_rcItem.Contains(point)) return nullptr;
    if (hitTest && !m_bMouseChildEnabled) {
        return m_bMouseEnabled ? CControlUI::FindControl(match, point, flags) : nullptr;
    }
    if ((flags & UIFIND_ME_FIRST) != 0) {
        if (CControlUI* self = CControlUI::FindControl(match, point, flags)) return self;
    }
    const Rect content = ContentRect();
    auto visit = [&](CControlUI* item) -> CControlUI* {
        CControlUI* found = item->FindControl(match, point, flags);
        if (found == nullptr) return nullptr;
        // Scrolled-out parts of non-float children do not take the mouse.
        if (hitTest && !item->IsFloat() && !content.Contains(point)) return nullptr;
        return found;
    };
    if ((flags & UIFIND_TOP_FIRST) != 0) {
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            if (CControlUI* found = visit(*it)) return found;
        }
    } else {
        for (CControlUI* item : m_items) {
            if (CControlUI* found = visit(item)) return found;
        }
    }
    if ((flags & UIFIND_ME_FIRST) == 0) return CControlUI::FindControl(match, point, flags);
    return nullptr;
}

void CContainerUI::SetPos(const Rect& rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    const Rect content = ContentRect();
    Size extent;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(item);
            continue;
        }
        Rect padding = item->GetPadding();
        Rect area = content.Deflate(padding);
        Size want = item->EstimateSize(Size{area.Width(), area.Height()});
        int cx = want.cx > 0 ? want.cx : area.Width();
        int cy = want.cy > 0 ? want.cy : area.Height();
        cx = std::clamp(cx, item->GetMinWidth(), std::max(item->GetMinWidth(), item->GetMaxWidth()));
        cy = std::clamp(cy, item->GetMinHeight(),
                        std::max(item->GetMinHeight(), item->GetMaxHeight()));
        Rect placed{area.left - m_szScrollPos.cx, area.top - m_szScrollPos.cy,
                    area.left - m_szScrollPos.cx + cx, area.top - m_szScrollPos.cy + cy};
        item->SetPos(placed, false);
        extent.cx = std::max(extent.cx, cx + padding.left + padding.right);
        extent.cy = std::max(extent.cy, cy + padding.top + padding.bottom);
    }
    SetContentSize(extent);
}

void CContainerUI::SetFloatPos(CControlUI* child) {
    Rect pos = child->GetFloatPos();
    child->SetPos(Rect{m_rcItem.left + pos.left, m_rcItem.top + pos.top, m_rcItem.left + pos.right,
                       m_rcItem.top + pos.bottom},
                  false);
}

void CContainerUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    Rect clip = paint.Intersect(m_rcItem);
    if (clip.IsEmpty()) return;
    CControlUI::DoPaint(target, paint);
    if (m_items.empty()) return;
    Rect content = clip.Intersect(ContentRect());
    target.PushClip(clip);
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) continue;
        const Rect& area = item->IsFloat() ? clip : content;
        if (!area.Intersects(item->GetPos())) continue;
        item->DoPaint(target, area);
    }
    target.PopClip();
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::ScrollWheel && (m_bVScroll || m_bHScroll)) {
        Size before = m_szScrollPos;
        if (event.lParam > 0) m_bVScroll ? LineUp() : LineLeft();
        else m_bVScroll ? LineDown() : LineRight();
        if (!(before == m_szScrollPos)) return;
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "inset") SetInset(ParseRect(value));
    else if (name == "childpadding") SetChildPadding(ParseInt(value));
    else if (name == "childalign") SetChildAlign(ParseAlign(value, 0, false));
    else if (name == "childvalign") SetChildVAlign(ParseAlign(value, 0, true));
    else if (name == "mousechild") SetMouseChildEnabled(ParseBool(value));
    else if (name == "vscrollbar") EnableScrollBar(ParseBool(value), m_bHScroll);
    else if (name == "hscrollbar") EnableScrollBar(m_bVScroll, ParseBool(value));
    else CControlUI::SetAttribute(name, value);
}

void CContainerUI::ArrangeLinear(const Rect& rc, bool needInvalidate, bool vertical) {
    CControlUI::SetPos(rc, needInvalidate);
    LinearLayoutInput in;
    in.area = ContentRect();
    in.vertical = vertical;
    in.childPadding = GetChildPadding();
    in.align = vertical ? m_uChildAlign : m_uChildVAlign;
    in.mainAlign = vertical ? m_uChildVAlign : m_uChildAlign;
    in.scroll = m_szScrollPos;
    Size extent = LayOutLinear(m_items, in);
    SetContentSize(extent);
    if (!(in.scroll == m_szScrollPos)) {
        // The content shrank under the scroll position: place again at the clamped one.
        in.scroll = m_szScrollPos;
        LayOutLinear(m_items, in);
    }
    for (CControlUI* item : m_items) {
        if (item->IsVisible() && item->IsFloat()) SetFloatPos(item);
    }
}

}  // namespace ui
