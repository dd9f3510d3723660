// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list entry made of controls that shows the pointer's hover as a 1-pixel frame in the
// owning list's hot colour rather than as a filled background, so that the entry's own
// controls stay readable. Hover, "menu", "itemclick" and "itemactivate" behave as in any
// list container element.
#include "ui/CListContainerElementUI.h"

namespace ui {

class CHotFrameListItemUI : public CListContainerElementUI {
public:
    // The colour of the hover frame (the owner's hot background colour), 0 without owner.
    Color GetHotFrameColor();
    void DrawItemBk(IRenderTarget& target, const Rect& rc) override;
};

}  // namespace ui
