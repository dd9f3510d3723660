// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that can be pressed: state images (normal, hot, pushed, focused, disabled),
// state text and background colours, and "click" when activated (mouse released inside,
// Space or Return, or Activate()).
#include "ui/CLabelUI.h"

namespace ui {

class CButtonUI : public CLabelUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    unsigned GetControlFlags() const override;

    // UISTATE_ bits: HOT, PUSHED, CAPTURED, FOCUSED, SELECTED, DISABLED.
    unsigned GetButtonState() const { return m_uButtonState; }
    void SetButtonState(unsigned state);

    const std::string& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(std::string_view image);
    const std::string& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(std::string_view image);
    const std::string& GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(std::string_view image);
    const std::string& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(std::string_view image);
    const std::string& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(std::string_view image);
    const std::string& GetHotForeImage() const { return m_sHotForeImage; }
    void SetHotForeImage(std::string_view image);
    const std::string& GetPushedForeImage() const { return m_sPushedForeImage; }
    void SetPushedForeImage(std::string_view image);
    Color GetHotTextColor() const { return m_dwHotTextColor; }
    void SetHotTextColor(Color color);
    Color GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetPushedTextColor(Color color);
    Color GetFocusedTextColor() const { return m_dwFocusedTextColor; }
    void SetFocusedTextColor(Color color);
    Color GetHotBkColor() const { return m_dwHotBkColor; }
    void SetHotBkColor(Color color);
    Color GetPushedBkColor() const { return m_dwPushedBkColor; }
    void SetPushedBkColor(Color color);

    bool Activate() override;  // raises "click"
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(IRenderTarget& target) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void PaintText(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    // The image for the current state (falls back to the normal image).
    const std::string& StateImage() const;
    Color StateTextColor() const;

    unsigned m_uButtonState = 0;
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sPushedImage;
    std::string m_sFocusedImage;
    std::string m_sDisabledImage;
    std::string m_sHotForeImage;
    std::string m_sPushedForeImage;
    Color m_dwHotTextColor = 0;
    Color m_dwPushedTextColor = 0;
    Color m_dwFocusedTextColor = 0;
    Color m_dwHotBkColor = 0;
    Color m_dwPushedBkColor = 0;
};

}  // namespace ui
