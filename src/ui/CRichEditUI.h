// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A multi-line text field. With "wantreturn" the Return key starts a new line (and raises
// "textchanged"); otherwise it raises "return" as a one-line edit does.
#include "ui/CEditUI.h"

namespace ui {

class CRichEditUI : public CEditUI {
public:
    CRichEditUI();

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsWantReturn() const { return m_bWantReturn; }
    void SetWantReturn(bool on) { m_bWantReturn = on; }
    bool IsMultiLine() const { return m_bMultiLine; }
    void SetMultiLine(bool on);

    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    void OnReturn() override;

private:
    bool m_bWantReturn = false;
    bool m_bMultiLine = true;
};

}  // namespace ui
