// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record button of the macro page for skins: a plain button that also takes the
// attribute "redioimage", an image a skin may name for the recording state.
#include <string>

#include "ui/CButtonUI.h"

namespace ui {

class CRedioMacroButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    const std::string& GetRedioImage() const { return m_sRedioImage; }
    void SetRedioImage(std::string_view image) { m_sRedioImage = image; }

private:
    std::string m_sRedioImage;
};

}  // namespace ui
