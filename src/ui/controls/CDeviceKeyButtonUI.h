// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One key or LED of a device picture. Over its state image it can show a light image
// tinted with the colour the lighting preview hands over, and a key-set image that marks a
// reassigned key. The area selection of the panel it sits in sets its selected-by-area
// flag. A double click raises "dbclick".
#include <cstdint>

#include "ui/CButtonUI.h"

namespace ui {

class CDeviceKeyButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetLightImage() const { return m_sLightImage; }
    void SetLightImage(std::string_view image);
    const std::string& GetKeySetImage() const { return m_sKeySetImage; }
    void SetKeySetImage(std::string_view image);

    // The preview colour as the device packs it: red | blue << 8 | green << 16, with the
    // level (0..255) apart; `overlay` turns the light image on or off.
    void SetLightColour(std::uint32_t colourWord, std::uint8_t alpha, bool overlay);
    std::uint32_t GetLightColour() const { return m_dwLightColour; }
    std::uint8_t GetLightAlpha() const { return m_uLightAlpha; }
    bool IsLightOverlay() const { return m_bLightOverlay; }
    void SetLightOverlay(bool overlay);
    bool GetLightTint(Color& tint, std::uint8_t& alpha) const override;
    // The ARGB tint the light image is drawn with for a packed colour word.
    static Color TintFromColourWord(std::uint32_t colourWord);

    bool IsKeySetImageHidden() const { return m_bKeySetImageHidden; }
    void SetKeySetImageHidden(bool hidden);  // repaints only when the flag changes
    // The key the key panel shows: drawn as pressed until another key is chosen.
    bool IsKeySelected() const { return m_bKeySelected; }
    void SetKeySelected(bool selected);
    bool IsSelectedByArea() const { return m_bSelectedByArea; }
    void SetSelectedByArea(bool selected) { m_bSelectedByArea = selected; }

    void DoEvent(TEventUI& event) override;
    // A key drawn by colours alone (the mouse's keys over its picture) shows the chosen
    // key in its pressed colour, as one drawn by images shows its pressed image.
    void PaintBkColor(IRenderTarget& target) override;
    void PaintStatusImage(IRenderTarget& target) override;
    // The key draws nothing after its light: a change of the light alone repaints only
    // the light (CPaintManagerUI::InvalidateOverlay).
    bool NothingOverTheLight() const;
    void SetAttribute(std::string_view name, std::string_view value) override;

    // What a key shows before the preview first reaches it.
    static constexpr std::uint32_t kInitialColourWord = 255;
    static constexpr std::uint8_t kInitialAlpha = 200;

private:
    std::string m_sLightImage;
    std::string m_sKeySetImage;
    std::uint32_t m_dwLightColour = kInitialColourWord;
    std::uint8_t m_uLightAlpha = kInitialAlpha;
    bool m_bLightOverlay = false;
    bool m_bKeySelected = false;
    bool m_bKeySetImageHidden = true;
    bool m_bSelectedByArea = false;
};

}  // namespace ui
