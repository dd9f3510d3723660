// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt widget carried by a CWndUI control: placed over the control's rectangle and shown
// with it. A widget inside a skin window (`parentWindow` its library window) is placed in
// that window's client pixels, a top-level one in screen pixels. The widget is not owned;
// once it is gone the control's requests do nothing.
#include <QPointer>
#include <QWidget>

#include "ui/controls/INativeWindow.h"

namespace ui::qt {

class QtNativeWindow : public INativeWindow {
public:
    QtNativeWindow(QWidget* widget, WindowHandle parentWindow)
        : m_widget(widget), m_parent(parentWindow) {}

    WindowHandle GetParentWindow() const override { return m_parent; }
    void Place(const Rect& rc) override {
        if (m_widget) m_widget->setGeometry(rc.left, rc.top, rc.Width(), rc.Height());
    }
    void Show(bool show) override {
        if (m_widget) m_widget->setVisible(show);
    }
    QWidget* Widget() const { return m_widget.data(); }

private:
    QPointer<QWidget> m_widget;
    WindowHandle m_parent;
};

}  // namespace ui::qt
