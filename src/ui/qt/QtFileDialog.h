// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's own open and save dialogs (the portal's on sandboxed or Wayland desktops
// where Qt uses it).
#include <functional>

#include "ui/qt/IFileDialog.h"

class QWidget;

namespace ui::qt {

class QtFileDialog : public IFileDialog {
public:
    // Finds the native window of a request's owner (null: the dialog has no parent).
    using OwnerLookup = std::function<QWidget*(WindowHandle)>;

    explicit QtFileDialog(OwnerLookup owners = {}) : m_owners(std::move(owners)) {}
    std::optional<std::string> Run(const FileDialogRequest& request) override;

private:
    OwnerLookup m_owners;
};

}  // namespace ui::qt
