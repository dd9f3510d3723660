// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list element that shows a text in the owner's item colours (combo items, text rows).
#include "ui/CListElementUI.h"

namespace ui {

class CListLabelElementUI : public CListElementUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    Size EstimateSize(Size available) override;
    void DoPaint(IRenderTarget& target, const Rect& paint) override;
};

}  // namespace ui
