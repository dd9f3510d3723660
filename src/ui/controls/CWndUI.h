// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control that keeps a platform window over its own rectangle: wherever the layout puts
// the control, and whether it is shown, the carried window follows. The window is not
// owned; once it is gone the control does nothing.
#include <memory>

#include "ui/CControlUI.h"
#include "ui/controls/INativeWindow.h"

namespace ui {

class CWndUI : public CControlUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Carries `window` from now on and brings it to the control's place and visibility.
    void Attach(std::weak_ptr<INativeWindow> window);
    void Detach() { m_window.reset(); }
    std::shared_ptr<INativeWindow> GetWindow() const { return m_window.lock(); }

    void SetPos(const Rect& rc, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;

private:
    void SyncWindow();

    std::weak_ptr<INativeWindow> m_window;
};

}  // namespace ui
