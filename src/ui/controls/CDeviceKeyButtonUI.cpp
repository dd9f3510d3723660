// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CDeviceKeyButtonUI.h"

#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

std::string CDeviceKeyButtonUI::GetClass() const {
    return "DeviceKeyButton";
}

void* CDeviceKeyButtonUI::GetInterface(std::string_view name) {
    if (name == "DeviceKeyButton") return this;
    return CButtonUI::GetInterface(name);
}

void CDeviceKeyButtonUI::SetLightImage(std::string_view image) {
    if (m_sLightImage == image) return;
    m_sLightImage = image;
    Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImage(std::string_view image) {
    if (m_sKeySetImage == image) return;
    m_sKeySetImage = image;
    Invalidate();
}

void CDeviceKeyButtonUI::SetLightColour(std::uint32_t colourWord, std::uint8_t alpha,
                                        bool overlay) {
    if (m_dwLightColour == colourWord && m_uLightAlpha == alpha && m_bLightOverlay == overlay)
        return;
    // A lit key that only changes its light leaves everything beneath the light as it was,
    // when the key draws nothing over its light (a key-set mark, a legend, a border).
    const bool lightOnly = m_bLightOverlay && overlay && NothingOverTheLight();
    m_dwLightColour = colourWord;
    m_uLightAlpha = alpha;
    m_bLightOverlay = overlay;
    if (lightOnly && m_pManager != nullptr && IsVisible())
        m_pManager->InvalidateOverlay(m_rcItem);
    else
        Invalidate();
}

bool CDeviceKeyButtonUI::NothingOverTheLight() const {
    return (m_bKeySetImageHidden || m_sKeySetImage.empty()) && GetText().empty() &&
           GetForeImage().empty() && (GetBorderSize() == 0 || (GetBorderColor() >> 24) == 0);
}

void CDeviceKeyButtonUI::SetLightOverlay(bool overlay) {
    if (m_bLightOverlay == overlay) return;
    m_bLightOverlay = overlay;
    Invalidate();
}

Color CDeviceKeyButtonUI::TintFromColourWord(std::uint32_t colourWord) {
    const Color red = colourWord & 0xFFu;
    const Color blue = (colourWord >> 8) & 0xFFu;
    const Color green = (colourWord >> 16) & 0xFFu;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

void CDeviceKeyButtonUI::SetKeySetImageHidden(bool hidden) {
    if (m_bKeySetImageHidden == hidden) return;
    m_bKeySetImageHidden = hidden;
    Invalidate();
}

void CDeviceKeyButtonUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::DblClick && IsMouseEnabled()) {
        if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
            if (m_pManager != nullptr) m_pManager->SendNotify(this, "dbclick");
        }
        return;
    }
    CButtonUI::DoEvent(event);
}

void CDeviceKeyButtonUI::SetKeySelected(bool selected) {
    if (m_bKeySelected == selected) return;
    m_bKeySelected = selected;
    Invalidate();
}

void CDeviceKeyButtonUI::PaintBkColor(IRenderTarget& target) {
    if (m_bKeySelected && (GetPushedBkColor() >> 24) != 0) {
        target.FillRect(m_rcItem, GetPushedBkColor());
        return;
    }
    CButtonUI::PaintBkColor(target);
}

bool CDeviceKeyButtonUI::GetLightTint(Color& tint, std::uint8_t& alpha) const {
    if (!m_bLightOverlay) return false;
    tint = TintFromColourWord(m_dwLightColour);
    alpha = m_uLightAlpha;
    return true;
}

void CDeviceKeyButtonUI::PaintStatusImage(IRenderTarget& target) {
    CButtonUI::PaintStatusImage(target);
    if (m_bKeySelected) DrawImage(target, GetPushedImage());
    if (m_bLightOverlay)
        DrawImage(target, m_sLightImage, {}, TintFromColourWord(m_dwLightColour), m_uLightAlpha);
    if (!m_bKeySetImageHidden) DrawImage(target, m_sKeySetImage);
}

void CDeviceKeyButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "lightimage")
        SetLightImage(value);
    else if (name == "keysetimage")
        SetKeySetImage(value);
    else if (name == "gmnametextcolor") {
        // Layouts written for other key pictures carry it; this picture has no use for it.
    } else
        CButtonUI::SetAttribute(name, value);
}

}  // namespace ui
