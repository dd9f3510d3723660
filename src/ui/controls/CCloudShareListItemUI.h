// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An entry of a shared-profile list: a list container element with the hover frame.
#include "ui/controls/CHotFrameListItemUI.h"

namespace ui {

class CCloudShareListItemUI : public CHotFrameListItemUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

}  // namespace ui
