// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The native window of one skin window: paints the control tree at the layout's
// rectangles and hands mouse, keyboard and focus input to the library's input entry
// point. It shows either a window of the library (WindowImplBase, followed by handle, so
// a window that destroyed itself is never touched again) or a bare paint manager (tools).
//
// Window mode: the library's window decides title, place, size, visibility, minimised
// and maximised state and the widget follows in SyncFromWindow(); what the desktop does
// to the native window (a move, a resize, its close button) is reported back.
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/UIDefs.h"
#include "ui/qt/LightBlend.h"
#include "ui/qt/QtUnderlayCache.h"


namespace ui {
class CControlUI;
class CPaintManagerUI;
class WindowImplBase;
struct TInputEvent;
}

namespace ui::qt {

class QtImageCache;
class QtMessagePump;
class QtRenderTarget;

class QtSkinWidget : public QWidget {
public:
    QtSkinWidget(WindowHandle window, QtImageCache& images, QtMessagePump* pump,
                 QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
    // The manager must outlive the widget.
    QtSkinWidget(CPaintManagerUI& manager, QtImageCache& images, QtMessagePump* pump,
                 QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
    ~QtSkinWidget() override;

    WindowHandle Handle() const { return m_window; }
    WindowImplBase* Window() const;     // null in manager mode or once the window is gone
    CPaintManagerUI* Manager() const;   // null once the window is gone

    // Follows the library's window; false once it is gone.
    bool SyncFromWindow();
    // Feeds one input event to the window (or manager), then lets the loop run.
    bool Deliver(const TInputEvent& input);
    // The client area drawn into an image of its size.
    QImage Render();
    // The pop-up list of a dropped combo, while open.
    QMenu* ComboPopup() const { return m_comboPopup; }
    // Runs once, after the widget's first paint on the screen (its surface is mapped).
    void SetFirstPaintHandler(std::function<void(QtSkinWidget&)> handler) {
        m_firstPaint = std::move(handler);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Setup();
    void PaintWindow(QPaintEvent* event);
    // Paints each of `areas` (all of the window when there is none).
    // `fillBackground`: the widget's background goes under what is painted plainly (a
    // paint of the widget; an image made by Render() starts transparent).
    void PaintTree(QPainter& painter, CPaintManagerUI& manager, const std::vector<QRect>& areas,
                   bool fillBackground);
    // Since the last paint, only keys' lights changed in `area` (nothing else there).
    bool OnlyLightsChanged(const QRect& area) const;
    // The frame of `area` made from what is kept there when one light alone is drawn over
    // it; false when it is not so (the lights must be drawn).
    bool LayOneLight(QtUnderlayCache::Kept& kept, const QRect& area, const PixelRows& into);
    // Notes the window's pixels in m_windowPixels when lights may be laid there directly
    // while `region` is painted; leaves it empty when not.
    void FindWindowPixels(QPainter& painter, const QRegion& region);
    void PutLightFrame(QPainter& painter, const QRect& area);
    // A key's light changed in `rect`: noted now, asked of Qt with the frame's others.
    void QueueLightDamage(const QRect& rect);
    void UpdateLightDamage();
    // The picture beneath the lights, kept from an earlier paint (made now when there is
    // none), then the lights over it.
    void PaintOverUnderlay(QPainter& painter, QtRenderTarget& target, CPaintManagerUI& manager,
                           const QRect& area);
    static bool AskableAlone(const std::vector<QtRenderTarget::OverlayDrawer>& drawers);
    // More rectangles than this in one paint are drawn as their bounding rectangle.
    static constexpr int kMaxSeparateRects = 512;
    void AfterInput();
    void FollowHotCursor(CPaintManagerUI& manager);
    void OpenDroppedCombo(CPaintManagerUI& manager);
    bool IsCaptionAt(CPaintManagerUI& manager, Point pt);
    void ReportGeometry();
    void SendWindowFocus(bool in);
    bool IsLive(const CControlUI* control) const;

    WindowHandle m_window = 0;
    CPaintManagerUI* m_manager = nullptr;  // manager mode only
    QtImageCache& m_images;
    QPointer<QtMessagePump> m_pump;
    QPointer<QMenu> m_comboPopup;
    Rect m_normalRect;  // the window's place before the library maximised it
    bool m_wasMaximized = false;
    bool m_wasTopMost = false;
    bool m_grabbingKeyboard = false;
    bool m_syncing = false;
    bool m_painting = false;
    QRegion m_plainDamage;  // invalidated since the last paint, for more than lights
    std::vector<QRect> m_lightDamage;  // lights changed, not yet asked of Qt
    QtUnderlayCache m_underlays;
    std::uint64_t m_treeGeneration = 0;  // of the manager, when m_underlays was filled
    std::vector<QtRenderTarget::OverlayDrawer> m_replay;
    QImage m_lightFrame;  // a lit area's frame, made before it goes on the window
    PixelRows m_windowPixels{};  // the window's own pixels while a paint may write them
    QPoint m_windowPixelsOffset;  // of the widget's origin in them
    int m_wheelResidual = 0;
    std::function<void(QtSkinWidget&)> m_firstPaint;
};

}  // namespace ui::qt
