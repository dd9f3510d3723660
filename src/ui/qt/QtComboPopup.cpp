// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtComboPopup.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "ui/CComboUI.h"
#include "ui/qt/MarkupText.h"
#include "ui/qt/QtConvert.h"

namespace ui::qt {

QMenu* QtComboPopup::Open(QWidget* host, CComboUI& combo, LiveCheck live,
                          std::function<void()> done) {
    auto* menu = new QMenu(host);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const Rect pos = combo.GetPos();
    menu->setMinimumWidth(pos.Width());
    const int current = combo.GetCurSel();
    auto chosen = std::make_shared<bool>(false);
    for (int i = 0; i < combo.GetCount(); ++i) {
        CControlUI* item = combo.GetItemAt(i);
        if (item == nullptr || !item->IsOwnVisible()) continue;
        QString text = ToQString(MarkupText::PlainText(item->GetText()));
        text.replace(QLatin1Char('&'), QLatin1String("&&"));  // no mnemonics in item texts
        QAction* action = menu->addAction(text);
        action->setEnabled(item->IsEnabled());
        action->setCheckable(true);
        action->setChecked(i == current);
        QObject::connect(action, &QAction::triggered, menu, [live, done, chosen, i] {
            *chosen = true;
            if (CComboUI* target = live()) {
                target->SelectItem(i, false, true);
                target->ShowDropDown(false);
            }
            if (done) done();
        });
    }
    QObject::connect(menu, &QMenu::aboutToHide, menu, [live, done, chosen] {
        // A choice arrives after the menu hid; give it the chance before folding up.
        QTimer::singleShot(0, [live, done, chosen] {
            if (*chosen) return;
            if (CComboUI* target = live()) target->ShowDropDown(false);
            if (done) done();
        });
    });
    menu->popup(host->mapToGlobal(QPoint(pos.left, pos.bottom)));
    return menu;
}

}  // namespace ui::qt
