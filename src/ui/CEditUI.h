// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line text field. Typing (Char and KeyDown events while focused) edits the text
// and raises "textchanged"; Return raises "return"; SetText raises nothing. Number-only
// fields take digits only; on losing the focus a number-only field with a minimum or
// maximum clamps its value into range before "killfocus" is raised. Texts of edits are
// not translated (resource text is off by default).
#include <optional>

#include "ui/CLabelUI.h"

namespace ui {

class CEditUI : public CLabelUI {
public:
    CEditUI();

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    unsigned GetControlFlags() const override;

    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly);
    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetNumberOnly(bool numberOnly) { m_bNumberOnly = numberOnly; }
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordMode(bool on);
    int GetMaxChar() const { return m_iMaxChar; }  // in characters, not bytes
    void SetMaxChar(int maxChar);
    // Bounds for number-only fields (none until set).
    std::optional<int> GetMinValue() const { return m_minValue; }
    void SetMinValue(int value) { m_minValue = value; }
    std::optional<int> GetMaxValue() const { return m_maxValue; }
    void SetMaxValue(int value) { m_maxValue = value; }
    // Text shown in grey while the field is empty and not focused (a language key is
    // shown translated).
    std::string GetTipValue() const;
    void SetTipValue(std::string_view tip);
    Color GetTipValueColor() const { return m_dwTipValueColor; }
    void SetTipValueColor(Color color) { m_dwTipValueColor = color; }
    int GetCaretPos() const { return m_iCaret; }  // in characters
    void SetCaretPos(int pos);

    void SetNormalImage(std::string_view image) { m_sNormalImage = image; }
    void SetHotImage(std::string_view image) { m_sHotImage = image; }
    void SetFocusedImage(std::string_view image) { m_sFocusedImage = image; }
    void SetDisabledImage(std::string_view image) { m_sDisabledImage = image; }

    void SetText(std::string_view text) override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(IRenderTarget& target) override;
    void PaintText(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    // Typing: inserts what fits, returns whether the text changed.
    bool InsertTyped(std::string_view typed);
    // Return key; the rich edit may insert a line instead.
    virtual void OnReturn();
    void RaiseTextChanged();
    void ClampNumber();

    bool m_bReadOnly = false;
    bool m_bNumberOnly = false;
    bool m_bPasswordMode = false;
    char m_cPasswordChar = '*';
    int m_iMaxChar = 255;
    std::optional<int> m_minValue;
    std::optional<int> m_maxValue;
    std::string m_sTipValue;
    Color m_dwTipValueColor = 0xFFBAC0C5;
    int m_iCaret = 0;
    unsigned m_uButtonState = 0;
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sFocusedImage;
    std::string m_sDisabledImage;
};

}  // namespace ui
