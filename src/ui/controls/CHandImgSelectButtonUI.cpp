// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CHandImgSelectButtonUI.h"

#include <algorithm>
#include <array>
#include <string>

#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"

namespace ui {

namespace {

constexpr std::array<std::string_view, 14> kCursorNames = {
    "arrow",    "ibeam",    "wait",   "cross",  "uparrow", "size", "icon",
    "sizenwse", "sizenesw", "sizewe", "sizens", "sizeall", "no",   "hand"};

}  // namespace

std::string CHandImgSelectButtonUI::GetClass() const {
    return "HandImgSelectButton";
}

void* CHandImgSelectButtonUI::GetInterface(std::string_view name) {
    if (name == "HandImgSelectButton") return this;
    return CButtonUI::GetInterface(name);
}

bool CHandImgSelectButtonUI::IsStandardCursor(std::string_view name) {
    return std::find(kCursorNames.begin(), kCursorNames.end(), name) != kCursorNames.end();
}

void CHandImgSelectButtonUI::SetHandImage(std::string_view image) {
    m_sHandImage = image;
    m_szImage = image.empty() ? Size{} : CResourceManager::GetInstance().GetImageSize(image);
    m_bDragging = false;
    UpdateSource(false);
    Invalidate();
}

Size CHandImgSelectButtonUI::ViewSize() const {
    if (!m_rcItem.IsEmpty()) return Size{m_rcItem.Width(), m_rcItem.Height()};
    return Size{GetFixedWidth(), GetFixedHeight()};
}

void CHandImgSelectButtonUI::UpdateSource(bool keepOffset) {
    const Size view = ViewSize();
    m_bPanning = !m_sHandImage.empty() && (m_szImage.cx > view.cx || m_szImage.cy > view.cy);
    if (!m_bPanning) {
        m_rcSource = m_rcItem;
        m_sHandImageString = m_sHandImage;
        return;
    }
    const int left = keepOffset ? m_rcSource.left : 0;
    const int top = keepOffset ? m_rcSource.top : 0;
    m_rcSource = Rect{left, top, left + view.cx, top + view.cy};
    ClampSource();
    BuildImageString();
}

void CHandImgSelectButtonUI::ClampSource() {
    const int width = m_rcSource.Width();
    const int height = m_rcSource.Height();
    const int left = std::clamp(m_rcSource.left, 0, std::max(0, m_szImage.cx - width));
    const int top = std::clamp(m_rcSource.top, 0, std::max(0, m_szImage.cy - height));
    m_rcSource = Rect{left, top, left + width, top + height};
}

void CHandImgSelectButtonUI::BuildImageString() {
    m_sHandImageString = "file='" + m_sHandImage + "' source='" + std::to_string(m_rcSource.left) +
                         "," + std::to_string(m_rcSource.top) + "," +
                         std::to_string(m_rcSource.right) + "," +
                         std::to_string(m_rcSource.bottom) + "'";
}

void CHandImgSelectButtonUI::SetPos(const Rect& rc, bool needInvalidate) {
    const Size before{m_rcItem.Width(), m_rcItem.Height()};
    CButtonUI::SetPos(rc, needInvalidate);
    if (m_sHandImage.empty()) return;
    const Size after{m_rcItem.Width(), m_rcItem.Height()};
    if (!(before == after))
        UpdateSource(true);
    else if (!m_bPanning)
        m_rcSource = m_rcItem;
}

void CHandImgSelectButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled()) {
        CButtonUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case EventType::ButtonDown:
        case EventType::DblClick:
            if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
                m_ptLastMouse = event.ptMouse;
                m_bDragging = true;
            }
            return;
        case EventType::MouseMove:
            if (!m_bDragging) return;
            if (m_bPanning) {
                const int dx = event.ptMouse.x - m_ptLastMouse.x;
                const int dy = event.ptMouse.y - m_ptLastMouse.y;
                m_rcSource = m_rcSource.Offset(-dx, -dy);
                ClampSource();
                BuildImageString();
                Invalidate();
            }
            m_ptLastMouse = event.ptMouse;
            return;
        case EventType::ButtonUp:
            m_bDragging = false;
            return;
        case EventType::MouseEnter:
            CButtonUI::DoEvent(event);
            if (m_pManager != nullptr) m_pManager->SendNotify(this, "msenter");
            return;
        case EventType::MouseLeave:
            CButtonUI::DoEvent(event);
            if (m_pManager != nullptr) m_pManager->SendNotify(this, "msleave");
            return;
        default:
            CButtonUI::DoEvent(event);
            return;
    }
}

void CHandImgSelectButtonUI::PaintStatusImage(IRenderTarget& target) {
    CButtonUI::PaintStatusImage(target);
    DrawImage(target, m_sHandImageString);
}

void CHandImgSelectButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "handimage")
        SetHandImage(value);
    else if (name == "cursor") {
        if (IsStandardCursor(value)) SetCursor(value);
    } else
        CButtonUI::SetAttribute(name, value);
}

}  // namespace ui
