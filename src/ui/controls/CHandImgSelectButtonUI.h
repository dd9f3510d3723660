// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button showing a picture larger than itself, panned by dragging: the visible part is a
// window of the control's size into the image, moved against the pointer and kept inside
// the image. A picture that fits the control is shown whole and does not pan.
// Hovering raises "msenter" and "msleave".
#include <string_view>

#include "ui/CButtonUI.h"

namespace ui {

class CHandImgSelectButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetHandImage() const { return m_sHandImage; }
    // Reads the image's size from the skin; call again after the image file changed.
    void SetHandImage(std::string_view image);
    // The image string drawn: the name, or for a panning picture "file='...' source='...'".
    const std::string& GetHandImageString() const { return m_sHandImageString; }
    Size GetImageSize() const { return m_szImage; }
    // The visible part of the image (image pixels) while panning; the control's rectangle
    // for a picture that fits.
    const Rect& GetSourceRect() const { return m_rcSource; }
    bool IsPanning() const { return m_bPanning; }
    bool IsDragging() const { return m_bDragging; }

    // "arrow", "ibeam", "wait", "cross", "uparrow", "size", "icon", "sizenwse", "sizenesw",
    // "sizewe", "sizens", "sizeall", "no", "hand".
    static bool IsStandardCursor(std::string_view name);

    void SetPos(const Rect& rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    // The size the visible window has: the laid-out size, or the fixed size before layout.
    Size ViewSize() const;
    // Chooses between panning and showing the whole picture; `keepOffset` keeps the pan
    // position (clamped) across a resize.
    void UpdateSource(bool keepOffset);
    void ClampSource();
    void BuildImageString();

    std::string m_sHandImage;
    std::string m_sHandImageString;
    Size m_szImage;
    Rect m_rcSource;
    Point m_ptLastMouse;
    bool m_bPanning = false;
    bool m_bDragging = false;
};

}  // namespace ui
