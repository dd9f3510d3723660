// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drop-down list of a combo, shown as a native pop-up menu under the combo while the
// combo is dropped. Choosing an item selects it the way a user's choice does (the combo
// raises "itemselect"); closing the list without a choice only folds the combo up.
#include <QPointer>

#include <functional>

class QMenu;
class QWidget;

namespace ui {
class CComboUI;
}

namespace ui::qt {

class QtComboPopup {
public:
    // Confirms that the combo still exists before the pop-up touches it again.
    using LiveCheck = std::function<CComboUI*()>;

    // Opens the list under the combo's rectangle in `host`; `done` runs after a choice or
    // after the list closed (the host hands the library's work to the loop there).
    static QMenu* Open(QWidget* host, CComboUI& combo, LiveCheck live, std::function<void()> done);
};

}  // namespace ui::qt
