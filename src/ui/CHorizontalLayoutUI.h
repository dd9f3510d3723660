// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Places its children left to right: fixed widths first, the rest of the width shared
// among the children without one; each child's height is its fixed height or the full one.
#include "ui/CContainerUI.h"

namespace ui {

class CHorizontalLayoutUI : public CContainerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(const Rect& rc, bool needInvalidate = true) override;
};

}  // namespace ui
