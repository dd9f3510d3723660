// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtSkinWidget.h"

#include <algorithm>
#include <cstring>

#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>

#include "ui/CComboUI.h"
#include "ui/CControlUI.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/TEventUI.h"
#include "ui/WindowImplBase.h"
#include "ui/qt/LightBlend.h"
#include "ui/qt/QtCaretPainter.h"
#include "ui/qt/QtComboPopup.h"
#include "ui/qt/QtConvert.h"
#include "ui/qt/QtImageCache.h"
#include "ui/qt/QtInputMapper.h"
#include "ui/qt/QtMessagePump.h"
#include "ui/qt/QtRenderTarget.h"

namespace ui::qt {

namespace {

using Kind = TInputEvent::Kind;

Qt::CursorShape CursorFor(std::string_view name) {
    if (name == "hand") return Qt::PointingHandCursor;
    if (name == "ibeam") return Qt::IBeamCursor;
    if (name == "wait") return Qt::WaitCursor;
    if (name == "cross") return Qt::CrossCursor;
    if (name == "uparrow") return Qt::UpArrowCursor;
    if (name == "size" || name == "sizeall") return Qt::SizeAllCursor;
    if (name == "sizenwse") return Qt::SizeFDiagCursor;
    if (name == "sizenesw") return Qt::SizeBDiagCursor;
    if (name == "sizewe") return Qt::SizeHorCursor;
    if (name == "sizens") return Qt::SizeVerCursor;
    if (name == "no") return Qt::ForbiddenCursor;
    return Qt::ArrowCursor;  // "arrow", "icon" and anything unknown
}

// Controls that take clicks themselves; elsewhere a press in the caption moves the window.
bool TakesClicks(CControlUI* control) {
    if (control == nullptr) return false;
    for (const char* kind : {"Button", "Edit", "Combo", "Slider", "ListItem", "List"}) {
        if (control->GetInterface(kind) != nullptr) return true;
    }
    return false;
}

TInputEvent MouseInput(Kind kind, const QMouseEvent* event) {
    TInputEvent input;
    input.kind = kind;
    input.pt = FromQPoint(event->position().toPoint());
    input.button = QtInputMapper::ButtonIndex(event->button());
    input.modifiers = QtInputMapper::KeyState(event->modifiers(), event->buttons());
    return input;
}

bool IsTypedText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) != 0) return false;
    const char16_t first = text.at(0).unicode();
    return first >= 0x20 && first != 0x7F;
}

}  // namespace

QtSkinWidget::QtSkinWidget(WindowHandle window, QtImageCache& images, QtMessagePump* pump,
                           QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_window(window), m_images(images), m_pump(pump) {
    Setup();
}

QtSkinWidget::QtSkinWidget(CPaintManagerUI& manager, QtImageCache& images, QtMessagePump* pump,
                           QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_manager(&manager), m_images(images), m_pump(pump) {
    Setup();
    const Size size = manager.GetClientSize();
    if (size.cx > 0 && size.cy > 0) resize(size.cx, size.cy);
}

QtSkinWidget::~QtSkinWidget() {
    if (m_comboPopup) m_comboPopup->close();
    if (CPaintManagerUI* pm = Manager()) {
        pm->SetInvalidateHandler({});
        pm->SetOverlayInvalidateHandler({});
    }
}

void QtSkinWidget::Setup() {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The paint fills the background itself, where the tree is painted plainly; where only
    // lights changed, the kept picture covers every pixel and a fill first would be waste.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    if (CPaintManagerUI* pm = Manager()) {
        QPointer<QtSkinWidget> self(this);
        pm->SetInvalidateHandler([self](const Rect& rc) {
            if (!self) return;
            // Whatever changes there, the picture kept under the lights there is stale,
            // also for a change made while the tree paints itself (already being painted).
            const QRect rect = ToQRect(rc);
            self->m_underlays.Drop(rect);
            if (self->m_painting) return;
            self->m_plainDamage += rect;
            self->update(rect);
        });
        pm->SetOverlayInvalidateHandler([self](const Rect& rc) {
            if (self && !self->m_painting) self->QueueLightDamage(ToQRect(rc));
        });
    }
}

void QtSkinWidget::QueueLightDamage(const QRect& rect) {
    // A frame of the preview changes every key's light at once, in the order of the keys'
    // lights. Qt merges each rectangle asked for into the region to repaint, cheaply only
    // when it comes after the last one top to bottom, left to right: asked in that order
    // once the frame's lights are all known, a frame costs as many steps as it has keys,
    // not their square.
    m_lightDamage.push_back(rect);
    if (m_lightDamage.size() == 1)
        QMetaObject::invokeMethod(this, [this] { UpdateLightDamage(); }, Qt::QueuedConnection);
}

void QtSkinWidget::UpdateLightDamage() {
    std::sort(m_lightDamage.begin(), m_lightDamage.end(), [](const QRect& a, const QRect& b) {
        return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
    });
    for (const QRect& rect : m_lightDamage) update(rect);
    m_lightDamage.clear();
}

WindowImplBase* QtSkinWidget::Window() const {
    if (m_window == 0) return nullptr;
    return dynamic_cast<WindowImplBase*>(CWindowWnd::FromHandle(m_window));
}

CPaintManagerUI* QtSkinWidget::Manager() const {
    if (m_window == 0) return m_manager;
    WindowImplBase* wnd = Window();
    return wnd != nullptr ? &wnd->GetPaintManager() : nullptr;
}

bool QtSkinWidget::IsLive(const CControlUI* control) const {
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr || control == nullptr || pm->GetRoot() == nullptr) return false;
    return pm->GetRoot()->FindControl([control](CControlUI* c) { return c == control; }, Point{},
                                      UIFIND_ALL | UIFIND_ME_FIRST) != nullptr;
}

// ---- following the library's window

bool QtSkinWidget::SyncFromWindow() {
    if (m_window == 0) return m_manager != nullptr;
    WindowImplBase* wnd = Window();
    if (wnd == nullptr) return false;
    m_syncing = true;
    const QString title = ToQString(wnd->GetTitle());
    if (windowTitle() != title) setWindowTitle(title);

    // The library only records maximised; the screen's work area is the native answer.
    if (wnd->IsMaximized() != m_wasMaximized) {
        m_wasMaximized = wnd->IsMaximized();
        if (m_wasMaximized) {
            m_normalRect = wnd->GetWindowRect();
            QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
            if (where != nullptr) wnd->SetWindowPos(FromQRect(where->availableGeometry()));
        } else if (!m_normalRect.IsEmpty()) {
            wnd->SetWindowPos(m_normalRect);
        }
    }
    const QRect wanted = ToQRect(wnd->GetWindowRect());
    // The library's windows have no borders to drag: their size is the layout's, and the
    // compositor is told so (minimum = maximum), so that a tiling one floats the window
    // instead of stretching its surface around the skin.
    const bool popup = (windowFlags() & Qt::Popup) == Qt::Popup;
    if (!popup && !wanted.isEmpty() && (minimumSize() != wanted.size() || maximumSize() != wanted.size()))
        setFixedSize(wanted.size());
    if (!wanted.isEmpty() && geometry() != wanted) setGeometry(wanted);

    if (!wnd->IsWindowVisible()) {
        if (isVisible()) hide();
    } else if (wnd->IsMinimized()) {
        if (!isMinimized()) showMinimized();
    } else {
        if (isMinimized()) showNormal();
        if (!isVisible()) {
            if (wnd->IsModal() && parentWidget() != nullptr) setWindowModality(Qt::WindowModal);
            show();
        }
    }
    // Top-most is how the library brings a window to the front.
    if (wnd->IsTopMost() && !m_wasTopMost && isVisible()) {
        raise();
        activateWindow();
    }
    m_wasTopMost = wnd->IsTopMost();
    // Capturing keys: the keyboard is ours (an X11 grab; on Wayland Qt asks the compositor
    // to inhibit its shortcuts) until the capture ends.
    const CPaintManagerUI* capturing = Manager();
    const bool capture = capturing != nullptr && capturing->HasKeyHook() && isVisible();
    if (capture != m_grabbingKeyboard) {
        m_grabbingKeyboard = capture;
        if (capture) grabKeyboard();
        else releaseKeyboard();
    }
    m_syncing = false;
    if (CPaintManagerUI* pm = Manager()) pm->EnsureLayout();
    return true;
}

void QtSkinWidget::ReportGeometry() {
    if (m_syncing) return;
    const Rect now = FromQRect(geometry());
    if (WindowImplBase* wnd = Window()) {
        wnd->GetPaintManager().SetWindowOrigin(Point{now.left, now.top});
        if (wnd->GetWindowRect() != now && !now.IsEmpty()) {
            wnd->SetWindowPos(now);
            if (m_pump) m_pump->Kick();
        }
    } else if (m_manager != nullptr) {
        m_manager->SetWindowOrigin(Point{now.left, now.top});
        m_manager->SetClientSize(Size{now.Width(), now.Height()});
    }
}

void QtSkinWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ReportGeometry();
}

void QtSkinWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    ReportGeometry();
}

void QtSkinWidget::closeEvent(QCloseEvent* event) {
    WindowImplBase* wnd = Window();
    if (wnd == nullptr) {
        event->accept();
        return;
    }
    if ((windowFlags() & Qt::Popup) == Qt::Popup) {
        // A click outside closed the pop-up: to the library that is the focus leaving it.
        event->accept();
        SendWindowFocus(false);
        return;
    }
    // The desktop's close button or Alt+F4: the window decides.
    event->ignore();
    wnd->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    if (m_pump) m_pump->Kick();
}

void QtSkinWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && m_window != 0) {
        // Activation changes also arrive while a sync shows or raises windows: the work
        // the window queues runs on the next turn, not inside the sync.
        CMessageLoop::SendMessage(m_window, WM_ACTIVATE, isActiveWindow() ? 1 : 0, 0);
        if (m_pump) m_pump->Wake();
        return;
    }
    if (event->type() != QEvent::WindowStateChange || m_syncing) return;
    WindowImplBase* wnd = Window();
    if (wnd == nullptr) return;
    // The desktop minimised or restored the window (its task bar entry).
    if (isMinimized() && !wnd->IsMinimized()) wnd->PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (!isMinimized() && wnd->IsMinimized()) wnd->PostMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    else return;
    if (m_pump) m_pump->Kick();
}

// ---- painting

QImage QtSkinWidget::Render() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (CPaintManagerUI* pm = Manager()) {
        QPainter painter(&image);
        PaintTree(painter, *pm, {}, false);
    }
    return image;
}

void QtSkinWidget::paintEvent(QPaintEvent* event) {
    PaintWindow(event);
    if (m_firstPaint && isVisible()) {
        // Cleared first: the handler may close the window.
        auto handler = std::move(m_firstPaint);
        m_firstPaint = {};
        QPointer<QtSkinWidget> self(this);
        QMetaObject::invokeMethod(this, [self, handler] {
            if (self) handler(*self);
        }, Qt::QueuedConnection);
    }
}

void QtSkinWidget::PaintWindow(QPaintEvent* event) {
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr) return;
    QPainter painter(this);
    // A key changing its light asks for its own rectangle only. Many keys changing at
    // once come as one region of many rectangles: drawing each alone touches only the
    // keys, where their bounding rectangle would repaint the whole picture between them.
    const QRegion& region = event->region();
    FindWindowPixels(painter, region);
    if (region.rectCount() <= 1 || region.rectCount() > kMaxSeparateRects) {
        PaintTree(painter, *pm, {event->rect()}, true);
    } else {
        PaintTree(painter, *pm, std::vector<QRect>(region.begin(), region.end()), true);
    }
    m_windowPixels = {};
    m_plainDamage = QRegion();
}

void QtSkinWidget::PaintTree(QPainter& painter, CPaintManagerUI& manager,
                             const std::vector<QRect>& areas, bool fillBackground) {
    const QBrush background = palette().brush(backgroundRole());
    bool whole = areas.empty();
    if (manager.IsUpdateNeeded()) {
        // The layout moves controls outside the area being painted: paint it all next.
        manager.EnsureLayout();
        m_underlays.Clear();
        update();
        whole = true;
    }
    m_painting = true;
    const int dpi = manager.GetDPI();
    QtRenderTarget target(painter, m_images, dpi,
                          [&manager](int id) { return manager.GetFont(id); });
    if (whole) {
        if (fillBackground) painter.fillRect(rect(), background);
        manager.Paint(target);
    } else {
        for (const QRect& area : areas) {
            if (OnlyLightsChanged(area)) {
                PaintOverUnderlay(painter, target, manager, area);
                continue;
            }
            if (fillBackground) painter.fillRect(area, background);
            manager.Paint(target, FromQRect(area));
        }
    }
    m_painting = false;
    if (hasFocus()) QtCaretPainter::Paint(painter, manager);
}

bool QtSkinWidget::OnlyLightsChanged(const QRect& area) const {
    // What is kept beneath the lights is dropped whenever anything else changes, so it is
    // right for any small area that nothing but lights changed in.
    return QtUnderlayCache::Worth(area) && devicePixelRatioF() == 1.0 &&
           !m_plainDamage.intersects(area);
}

void QtSkinWidget::PaintOverUnderlay(QPainter& painter, QtRenderTarget& target,
                                     CPaintManagerUI& manager, const QRect& area) {
    // Controls noted with a kept picture may be gone since.
    if (m_treeGeneration != manager.TreeGeneration()) {
        m_underlays.Clear();
        m_treeGeneration = manager.TreeGeneration();
    }
    QtUnderlayCache::Kept* kept = m_underlays.Find(area);
    if (kept == nullptr) {
        // Drawn once as a paint of the area would draw it, lights left out.
        QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(palette().color(backgroundRole()));
        {
            QPainter p(&image);
            p.translate(-area.topLeft());
            QtRenderTarget beneath(p, m_images, manager.GetDPI(),
                                   [&manager](int id) { return manager.GetFont(id); });
            beneath.SetLayer(QtRenderTarget::Layer::Underlay);
            manager.Paint(beneath, FromQRect(area));
        }
        kept = &m_underlays.Keep(area, std::move(image));
    }
    // The frame is made beside the window, the picture beneath copied and the lights laid
    // over it pixel by pixel, then put on the window at once: one painter call per key.
    if (m_lightFrame.width() < area.width() || m_lightFrame.height() < area.height())
        m_lightFrame = QImage(std::max(m_lightFrame.width(), area.width()),
                              std::max(m_lightFrame.height(), area.height()),
                              QImage::Format_ARGB32_Premultiplied);
    if (kept->drawersNoted) {
        if (m_windowPixels.bits != nullptr) {
            // Straight onto the window's pixels: no frame beside it to copy there after.
            const QPoint at = area.topLeft() + m_windowPixelsOffset;
            const PixelRows rows{m_windowPixels.bits + at.y() * m_windowPixels.stride + at.x() * 4,
                                 m_windowPixels.stride, area.width(), area.height()};
            if (LayOneLight(*kept, area, rows)) return;
        } else if (LayOneLight(*kept, area, PixelRows::Of(m_lightFrame))) {
            PutLightFrame(painter, area);
            return;
        }
    }
    const qsizetype rowBytes = static_cast<qsizetype>(area.width()) * 4;
    const uchar* from = kept->image.constBits();
    uchar* to = m_lightFrame.bits();
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(to, from, rowBytes);
        from += kept->image.bytesPerLine();
        to += m_lightFrame.bytesPerLine();
    }
    target.BlendLightsInto(&m_lightFrame, area.topLeft());
    target.SetLayer(QtRenderTarget::Layer::Overlay);
    const Rect paint = FromQRect(area);
    if (kept->drawersNoted) {
        // Nothing but these controls' lights changed here since they were noted (anything
        // else drops what is kept), so they alone draw what the tree would.
        // Copied: a control invalidating itself while it paints drops what is kept.
        m_replay.assign(kept->drawers.begin(), kept->drawers.end());
        for (const QtRenderTarget::OverlayDrawer& drawer : m_replay) {
            // A light laid where it went last time, in its colour of now, without the
            // control painting itself.
            if (QtRenderTarget::BlendPlacedLight(drawer, m_lightFrame, area.topLeft())) continue;
            target.PushClip(drawer.clip);
            drawer.control->DoPaint(target, paint);
            target.PopClip();
        }
    } else {
        std::vector<QtRenderTarget::OverlayDrawer> drawers;
        target.NoteOverlayDrawers(&drawers);
        manager.Paint(target, paint);
        target.NoteOverlayDrawers(nullptr);
        // A control that invalidated itself while painting has dropped what was kept.
        kept = m_underlays.Find(area);
        if (kept != nullptr && AskableAlone(drawers)) {
            kept->drawers = std::move(drawers);
            kept->drawersNoted = true;
        }
    }
    target.SetLayer(QtRenderTarget::Layer::All);
    target.BlendLightsInto(nullptr, {});
    PutLightFrame(painter, area);
}

bool QtSkinWidget::LayOneLight(QtUnderlayCache::Kept& kept, const QRect& area,
                               const PixelRows& into) {
    // The keyboard's picture: one light over each key, changing its colour frame after
    // frame and its level seldom.
    if (kept.drawers.size() != 1) return false;
    const QtRenderTarget::OverlayDrawer& drawer = kept.drawers.front();
    Color tint = 0;
    int level = 0;
    if (!drawer.LightNow(tint, level) || (tint >> 24) != 0xFF) return false;
    const QtRenderTarget::OverlayDrawer::Placed& light = drawer.light;
    const QPoint at = light.at - area.topLeft();
    if (kept.dimmedFor != level) {
        DimBeneathLight(kept.image, light.shape, light.part, at, level, kept.dimmed);
        kept.dimmedFor = level;
    }
    AddLight(kept.dimmed, light.shape, light.part, at, tint, level, into);
    return true;
}

void QtSkinWidget::FindWindowPixels(QPainter& painter, const QRegion& region) {
    // Qt's raster backing store is an image the painter draws into as it goes. Lights may be
    // laid into it directly when nothing stands between: no transformation but a whole
    // pixel offset, no clip of the painter's own, and the system clip exactly the region
    // being painted (so every repainted rectangle is wholly ours to paint).
    m_windowPixels = {};
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster || painter.hasClipping())
        return;
    QPaintDevice* device = engine->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) return;
    const auto* image = static_cast<const QImage*>(device);
    if (image->format() != QImage::Format_ARGB32_Premultiplied &&
        image->format() != QImage::Format_RGB32)
        return;
    if (image->devicePixelRatio() != 1.0) return;
    const QTransform transform = painter.deviceTransform();
    const QPoint offset(qRound(transform.dx()), qRound(transform.dy()));
    if (transform.type() > QTransform::TxTranslate || offset.x() != transform.dx() ||
        offset.y() != transform.dy())
        return;
    const QRegion onDevice = region.translated(offset);
    if (!image->rect().contains(onDevice.boundingRect()) || engine->systemClip() != onDevice)
        return;
    // Written through the painter's own pointer: a detaching bits() could write a copy.
    m_windowPixels = {const_cast<uchar*>(image->constBits()), image->bytesPerLine(),
                      image->width(), image->height()};
    m_windowPixelsOffset = offset;
}

void QtSkinWidget::PutLightFrame(QPainter& painter, const QRect& area) {
    // The composition mode alone changes: a saved state would be made and dropped per key.
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(area.topLeft(), m_lightFrame, QRect(QPoint(0, 0), area.size()));
    painter.setCompositionMode(mode);
}

bool QtSkinWidget::AskableAlone(const std::vector<QtRenderTarget::OverlayDrawer>& drawers) {
    // A container asked to paint paints its children too, so a child noted as well would
    // draw its light twice; an empty clip means one was drawn outside any clip.
    return std::all_of(drawers.begin(), drawers.end(), [](const auto& drawer) {
        return drawer.control->GetInterface("Container") == nullptr && !drawer.clip.IsEmpty();
    });
}

// ---- input

bool QtSkinWidget::Deliver(const TInputEvent& input) {
    bool taken = false;
    if (m_window != 0 && (input.kind == Kind::WindowFocusIn || input.kind == Kind::WindowFocusOut)) {
        SendWindowFocus(input.kind == Kind::WindowFocusIn);
        return true;
    }
    if (m_window != 0) {
        WindowImplBase* wnd = Window();
        if (wnd == nullptr) return false;
        taken = wnd->HandleInput(input);
    } else if (m_manager != nullptr) {
        taken = m_manager->HandleInput(input);
    }
    AfterInput();
    return taken;
}

void QtSkinWidget::SendWindowFocus(bool in) {
    // By handle: a window may close itself when it loses the focus (menus, pop-ups).
    CMessageLoop::SendMessage(m_window, in ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
    if (CPaintManagerUI* pm = Manager()) {
        TInputEvent input;
        input.kind = in ? Kind::WindowFocusIn : Kind::WindowFocusOut;
        pm->HandleInput(input);
    }
    AfterInput();
}

void QtSkinWidget::AfterInput() {
    QPointer<QtSkinWidget> self(this);
    if (m_pump) m_pump->Kick();
    if (!self) return;
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr) return;
    FollowHotCursor(*pm);
    OpenDroppedCombo(*pm);
    if (CControlUI* focus = pm->GetFocus()) {
        if (focus->GetInterface("Edit") != nullptr) update(ToQRect(focus->GetPos()));  // caret
    }
}

void QtSkinWidget::FollowHotCursor(CPaintManagerUI& manager) {
    CControlUI* hot = manager.GetHot();
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (hot != nullptr) {
        if (!hot->GetCursor().empty()) shape = CursorFor(hot->GetCursor());
        else if (hot->GetInterface("Edit") != nullptr) shape = Qt::IBeamCursor;
    }
    if (cursor().shape() != shape) setCursor(shape);
}

void QtSkinWidget::OpenDroppedCombo(CPaintManagerUI& manager) {
    if (m_comboPopup) return;
    CControlUI* focus = manager.GetFocus();
    auto* combo = focus != nullptr ? static_cast<CComboUI*>(focus->GetInterface("Combo")) : nullptr;
    if (combo == nullptr || !combo->IsDropped()) return;
    QPointer<QtSkinWidget> self(this);
    m_comboPopup = QtComboPopup::Open(
        this, *combo,
        [self, combo]() -> CComboUI* {
            return self && self->IsLive(combo) ? combo : nullptr;
        },
        [self] {
            if (self && self->m_pump) self->m_pump->Kick();
        });
}

bool QtSkinWidget::IsCaptionAt(CPaintManagerUI& manager, Point pt) {
    const Rect caption = manager.ScaleRect(manager.GetCaptionRect());
    if (caption.bottom <= 0) return false;
    // The caption's right value is a margin from the right edge, as skins write it.
    const bool inside = pt.x >= caption.left && pt.x < width() - caption.right &&
                        pt.y >= caption.top && pt.y < caption.bottom;
    return inside && !TakesClicks(manager.FindControl(pt));
}

void QtSkinWidget::mousePressEvent(QMouseEvent* event) {
    TInputEvent input = MouseInput(Kind::MouseDown, event);
    if (input.button < 0) return;
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr) return;
    if (input.button == 0 && m_window != 0 && pm->IsInputEnabled() && IsCaptionAt(*pm, input.pt) &&
        windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    Deliver(input);
}

void QtSkinWidget::mouseReleaseEvent(QMouseEvent* event) {
    TInputEvent input = MouseInput(Kind::MouseUp, event);
    if (input.button < 0) return;
    Deliver(input);
}

void QtSkinWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    TInputEvent input = MouseInput(Kind::DoubleClick, event);
    if (input.button < 0) return;
    if (input.button != 0) input.kind = Kind::MouseDown;  // only the left button double-clicks
    Deliver(input);
}

void QtSkinWidget::mouseMoveEvent(QMouseEvent* event) {
    Deliver(MouseInput(Kind::MouseMove, event));
}

void QtSkinWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    TInputEvent input;
    input.kind = Kind::MouseLeaveWindow;
    Deliver(input);
}

void QtSkinWidget::wheelEvent(QWheelEvent* event) {
    const int notches = QtInputMapper::WheelNotches(m_wheelResidual, event->angleDelta().y());
    if (notches == 0) return;
    TInputEvent input;
    input.kind = Kind::Wheel;
    input.pt = FromQPoint(event->position().toPoint());
    input.delta = notches;
    input.modifiers = QtInputMapper::KeyState(event->modifiers(), event->buttons());
    Deliver(input);
}

void QtSkinWidget::contextMenuEvent(QContextMenuEvent* event) {
    TInputEvent input;
    input.kind = Kind::ContextMenu;
    input.pt = event->reason() == QContextMenuEvent::Keyboard ? Point{-1, -1}
                                                               : FromQPoint(event->pos());
    Deliver(input);
}

void QtSkinWidget::keyPressEvent(QKeyEvent* event) {
    TInputEvent down;
    down.kind = Kind::KeyDown;
    down.key = QtInputMapper::VirtualKey(event->key(), event->modifiers());
    down.modifiers = QtInputMapper::KeyState(event->modifiers(), Qt::NoButton);
    down.scanCode = QtInputMapper::EvdevCode(event->nativeScanCode());
    down.autoRepeat = event->isAutoRepeat();
    QPointer<QtSkinWidget> self(this);
    if (down.key != 0 || down.scanCode != 0) Deliver(down);
    if (!self) return;
    TInputEvent typed;
    typed.kind = Kind::Char;
    if (event->matches(QKeySequence::Paste)) {
        if (const QClipboard* clipboard = QGuiApplication::clipboard())
            typed.text = FromQString(clipboard->text());
    } else if (IsTypedText(event)) {
        typed.text = FromQString(event->text());
    }
    if (!typed.text.empty()) Deliver(typed);
}

void QtSkinWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    TInputEvent up;
    up.kind = Kind::KeyUp;
    up.key = QtInputMapper::VirtualKey(event->key(), event->modifiers());
    up.modifiers = QtInputMapper::KeyState(event->modifiers(), Qt::NoButton);
    up.scanCode = QtInputMapper::EvdevCode(event->nativeScanCode());
    if (up.key != 0 || up.scanCode != 0) Deliver(up);
}

void QtSkinWidget::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) return;
    TInputEvent typed;
    typed.kind = Kind::Char;
    typed.text = FromQString(event->commitString());
    Deliver(typed);
}

void QtSkinWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::PopupFocusReason) return;  // back from a pop-up of ours
    TInputEvent input;
    input.kind = Kind::WindowFocusIn;
    Deliver(input);
}

void QtSkinWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // To a pop-up of ours (a combo list, a tool-tip): the window keeps its state.
    if (event->reason() == Qt::PopupFocusReason) return;
    TInputEvent input;
    input.kind = Kind::WindowFocusOut;
    Deliver(input);
}

bool QtSkinWidget::focusNextPrevChild(bool /*next*/) { return false; }  // Tab belongs to the skin

bool QtSkinWidget::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        CPaintManagerUI* pm = Manager();
        CControlUI* control = pm != nullptr ? pm->FindControl(FromQPoint(help->pos())) : nullptr;
        const std::string tip = control != nullptr ? control->GetToolTip() : std::string();
        if (tip.empty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), ToQString(tip), this, ToQRect(control->GetPos()));
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace ui::qt
