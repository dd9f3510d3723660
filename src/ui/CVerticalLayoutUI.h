// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stacks its children top to bottom: fixed heights first, the rest of the height shared
// among the children without one; each child's width is its fixed width or the full width.
#include "ui/CContainerUI.h"

namespace ui {

class CVerticalLayoutUI : public CContainerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(const Rect& rc, bool needInvalidate = true) override;
};

}  // namespace ui
