// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A progress bar with a thumb the user drags. Dragging raises "movevaluechanged" on every
// change (unless "sendmove" is off) and "valuechanged" on release; the wheel moves by the
// step and raises "valuechanged". SetValue raises nothing.
#include "ui/CProgressUI.h"

namespace ui {

class CSliderUI : public CProgressUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    unsigned GetControlFlags() const override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step);
    Size GetThumbSize() const;  // scaled
    void SetThumbSize(Size size);
    Rect GetThumbRect() const;
    bool IsSendMove() const { return m_bSendMove; }
    void SetSendMove(bool on) { m_bSendMove = on; }
    const std::string& GetThumbImage() const { return m_sThumbImage; }
    void SetThumbImage(std::string_view image);
    void SetThumbHotImage(std::string_view image);
    void SetThumbPushedImage(std::string_view image);
    unsigned GetButtonState() const { return m_uButtonState; }

    void DoEvent(TEventUI& event) override;
    void SetEnabled(bool enabled = true) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    int ValueAt(Point pt) const;

    int m_nStep = 1;
    Size m_szThumb{10, 10};
    bool m_bSendMove = true;
    unsigned m_uButtonState = 0;
    std::string m_sThumbImage;
    std::string m_sThumbHotImage;
    std::string m_sThumbPushedImage;
};

}  // namespace ui
