// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button showing a picture ("hand image") with a small delete mark in its lower right
// corner while the pointer is over it. Releasing the mouse on the mark raises
// "click_handdelete" instead of "click". Deleting is off until SetDeleteDisabled(false).
// Hovering raises "msenter" and "msleave".
#include "ui/CButtonUI.h"

namespace ui {

class CHandImgButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetHandImage() const { return m_sHandImage; }
    void SetHandImage(std::string_view image);
    const std::string& GetDeleteNormalImage() const { return m_sDeleteNormalImage; }
    void SetDeleteNormalImage(std::string_view image);
    const std::string& GetDeleteHotImage() const { return m_sDeleteHotImage; }
    void SetDeleteHotImage(std::string_view image);
    // The delete image in use: the hot one while the pointer is on the mark.
    const std::string& GetDeleteImage() const { return m_sDeleteImage; }

    bool IsDeleteDisabled() const { return m_bDeleteDisabled; }
    void SetDeleteDisabled(bool disabled);

    // The delete mark's square in client pixels: 20 x 20, its top 29 and its left 30
    // pixels (at 96 DPI) in from the bottom and right edges.
    Rect GetDeleteRect() const;

    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    static constexpr int kDeleteSize = 20;
    static constexpr int kDeleteFromBottom = 29;
    static constexpr int kDeleteFromRight = 30;

private:
    bool CanDelete() const { return !m_bDeleteDisabled; }

    std::string m_sHandImage;
    std::string m_sDeleteNormalImage;
    std::string m_sDeleteHotImage;
    std::string m_sDeleteImage;
    bool m_bDeleteDisabled = true;
};

}  // namespace ui
