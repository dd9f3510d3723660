#include "ui/CVerticalLayoutUI.h"

#include "ui/LinearLayout.h"

namespace ui {

std::string CVerticalLayoutUI::GetClass() const { return "VerticalLayout"; }

void* CVerticalLayoutUI::GetInterface(std::string_view name) {
    if (name == "VerticalLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const Rect& rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    LinearLayoutInput in;
    in.area = ContentRect();
    in.vertical = true;
    in.childPadding = GetChildPadding();
    in.align = m_uChildAlign;
    in.mainAlign = m_uChildVAlign;
    in.scroll = m_szScrollPos;
    Size extent = LayOutLinear(m_items, in);
    SetContentSize(extent);
    if (!(in.scroll == m_szScrollPos)) {
        // The content shrank under the scroll position: place again at the clamped one.
        in.scroll = m_szScrollPos;
        LayOutLinear(m_items, in);
    }
    for (CControlUI* item : m_items) {
        if (item->IsVisible() && item->IsFloat()) SetFloatPos(item);
    }
}

}  // namespace ui
