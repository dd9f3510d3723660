// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asking the user for a file to open or save. The program asks through this interface
// only: the desktop answers with its native dialog (QtFileDialog), tests and the headless
// mode answer from a script (ScriptedFileDialog). This header has no Qt in it, so the code
// that asks does not depend on Qt.
#include <optional>
#include <string>

#include "ui/UIDefs.h"

namespace ui::qt {

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    WindowHandle owner = 0;        // the window the dialog belongs to (0: none)
    std::string title;             // empty: the desktop's own
    std::string defaultExtension;  // appended to a typed name without one ("png")
    std::string fileName;          // proposed name, or a pattern such as "*.png"
    std::string filter;            // "Profile Files(*.json)|*.json||"
    std::string initialFolder;     // empty: the desktop's choice
};

class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> Run(const FileDialogRequest& request) = 0;

    // The dialog the program asks (none: every request is cancelled).
    static IFileDialog* Current() { return Slot(); }
    static void SetCurrent(IFileDialog* dialog) { Slot() = dialog; }
    // Asks the current dialog.
    static std::optional<std::string> Ask(const FileDialogRequest& request) {
        IFileDialog* dialog = Current();
        return dialog != nullptr ? dialog->Run(request) : std::nullopt;
    }

private:
    static IFileDialog*& Slot() {
        static IFileDialog* current = nullptr;
        return current;
    }
};

}  // namespace ui::qt
