// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device picture's panel: dragging over it spans a rectangle, and when the button is
// released every key button the rectangle touches is marked selected-by-area and the
// rest unmarked; then "click_select_end" is raised. A press without a drag selects
// nothing and raises nothing.
#include "ui/CVerticalLayoutUI.h"

namespace ui {

class CSelectPanelUI : public CVerticalLayoutUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsArmed() const { return m_bArmed; }
    bool IsSelecting() const { return m_bSelecting; }
    // Normalised: left <= right, top <= bottom, whichever way the drag went.
    const Rect& GetSelectionRect() const { return m_rcSelection; }

    void DoEvent(TEventUI& event) override;
    void DoPaint(IRenderTarget& target, const Rect& paint) override;

    static constexpr Color kSelectionFill = 0x3300A0FF;
    static constexpr Color kSelectionFrame = 0xFF00A0FF;

private:
    void FinishSelection();

    bool m_bArmed = false;
    bool m_bSelecting = false;
    Point m_ptStart;
    Point m_ptCurrent;
    Rect m_rcSelection;
};

}  // namespace ui
