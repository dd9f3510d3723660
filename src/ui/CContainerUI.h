// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control with children. The plain container gives every child its own rectangle less
// the inset (or the child's fixed size from the top-left corner); the layouts override
// SetPos to stack them. Children are owned: Remove destroys them unless asked not to, and
// the destruction waits for the message loop so that a control may remove itself (or the
// sender of the notification being handled) safely.
#include <memory>
#include <vector>

#include "ui/CControlUI.h"

namespace ui {

class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- children
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* control) const;  // -1 when not a child
    virtual bool SetItemIndex(CControlUI* control, int index);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    virtual bool Add(CControlUI* control);                 // takes ownership
    virtual bool AddAt(CControlUI* control, int index);    // index clamped to 0..count
    virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
    virtual bool RemoveAt(int index, bool doNotDestroy = false);
    virtual void RemoveAll();
    // Removed children are destroyed at once instead of by the message loop.
    void SetDelayedDestroy(bool delayed) { m_bDelayedDestroy = delayed; }
    bool IsDelayedDestroy() const { return m_bDelayedDestroy; }
    // First descendant of that name (depth first, in child order), or null.
    CControlUI* FindSubControl(std::string_view name);

    // ---- layout attributes (96-DPI values; getters scaled)
    Rect GetInset() const;
    void SetInset(const Rect& inset);
    int GetChildPadding() const;
    void SetChildPadding(int padding);
    unsigned GetChildAlign() const { return m_uChildAlign; }
    void SetChildAlign(unsigned align);  // DT_LEFT, DT_CENTER, DT_RIGHT
    unsigned GetChildVAlign() const { return m_uChildVAlign; }
    void SetChildVAlign(unsigned align);  // DT_TOP, DT_VCENTER (4), DT_BOTTOM
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool enabled = true) { m_bMouseChildEnabled = enabled; }

    // ---- scrolling. The content may be larger than the container; the scroll position
    // shifts it. Layouts measure the content while placing children.
    void EnableScrollBar(bool vertical = true, bool horizontal = false);
    bool IsVScrollEnabled() const { return m_bVScroll; }
    bool IsHScrollEnabled() const { return m_bHScroll; }
    Size GetScrollPos() const { return m_szScrollPos; }
    Size GetScrollRange() const;  // largest position in each direction
    virtual void SetScrollPos(Size pos);  // clamped to the range
    int GetScrollStepSize() const;
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();

    // ---- overrides
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    CControlUI* FindControl(const FindProc& match, Point point, unsigned flags) override;
    void SetPos(const Rect& rc, bool needInvalidate = true) override;
    void DoPaint(IRenderTarget& target, const Rect& paint) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    // Places a float child by its "pos" relative to this container's top-left corner.
    void SetFloatPos(CControlUI* child);
    // Lays the children out in a row (or a column) inside `rc`: what the two linear
    // layouts share, differing only in direction.
    void ArrangeLinear(const Rect& rc, bool needInvalidate, bool vertical);
    // The area children are laid out in: the control less its inset.
    Rect ContentRect() const;
    // Records the content's extent after a layout pass and clamps the scroll position.
    void SetContentSize(Size size);
    // Detaches a child from the tree and from the manager's bookkeeping; with `destroy`,
    // deletes it now or through the loop.
    void ReleaseChild(CControlUI* control, bool destroy);

    std::vector<CControlUI*> m_items;
    Rect m_rcInset;
    int m_iChildPadding = 0;
    unsigned m_uChildAlign = DT_LEFT;
    unsigned m_uChildVAlign = DT_TOP;
    bool m_bMouseChildEnabled = true;
    bool m_bDelayedDestroy = true;
    bool m_bVScroll = false;
    bool m_bHScroll = false;
    Size m_szScrollPos;
    Size m_szContent;  // extent of the children, from the last layout
};

}  // namespace ui
