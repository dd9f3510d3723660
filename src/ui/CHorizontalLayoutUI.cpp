#include "ui/CHorizontalLayoutUI.h"

#include "ui/LinearLayout.h"

namespace ui {

std::string CHorizontalLayoutUI::GetClass() const { return "HorizontalLayout"; }

void* CHorizontalLayoutUI::GetInterface(std::string_view name) {
    if (name == "HorizontalLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const Rect& rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    LinearLayoutInput in;
    in.area = ContentRect();
    in.vertical = false;
    in.childPadding = GetChildPadding();
    in.align = m_uChildVAlign;
    in.mainAlign = m_uChildAlign;
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
