// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LinearLayout.h"

#include <algorithm>

#include "ui/CControlUI.h"

namespace ui {

namespace {

// One axis of a rectangle or size, so the algorithm reads the same in both directions.
struct Axis {
    bool vertical;
    int Main(Size s) const { return vertical ? s.cy : s.cx; }
    int Cross(Size s) const { return vertical ? s.cx : s.cy; }
    int MainStart(const Rect& r) const { return vertical ? r.top : r.left; }
    int CrossStart(const Rect& r) const { return vertical ? r.left : r.top; }
    int MainLen(const Rect& r) const { return vertical ? r.Height() : r.Width(); }
    int CrossLen(const Rect& r) const { return vertical ? r.Width() : r.Height(); }
    int PadMainBefore(const Rect& p) const { return vertical ? p.top : p.left; }
    int PadMainAfter(const Rect& p) const { return vertical ? p.bottom : p.right; }
    int PadCrossBefore(const Rect& p) const { return vertical ? p.left : p.top; }
    int PadCrossAfter(const Rect& p) const { return vertical ? p.right : p.bottom; }
    int MinMain(const CControlUI* c) const { return vertical ? c->GetMinHeight() : c->GetMinWidth(); }
    int MaxMain(const CControlUI* c) const { return vertical ? c->GetMaxHeight() : c->GetMaxWidth(); }
    int MinCross(const CControlUI* c) const { return vertical ? c->GetMinWidth() : c->GetMinHeight(); }
    int MaxCross(const CControlUI* c) const { return vertical ? c->GetMaxWidth() : c->GetMaxHeight(); }
    Rect Make(int mainPos, int mainLen, int crossPos, int crossLen) const {
        if (vertical) return Rect{crossPos, mainPos, crossPos + crossLen, mainPos + mainLen};
        return Rect{mainPos, crossPos, mainPos + mainLen, crossPos + crossLen};
    }
};

int ClampLen(int v, int lo, int hi) { return std::clamp(v, lo, std::max(lo, hi)); }

}  // namespace

Size LayOutLinear(const std::vector<CControlUI*>& children, const LinearLayoutInput& in) {
    const Axis axis{in.vertical};
    const Size available{in.area.Width(), in.area.Height()};
    const int mainAvail = axis.MainLen(in.area);
    const int crossAvail = axis.CrossLen(in.area);

    // First pass: what the fixed children take, how many stretch.
    int fixedTotal = 0;
    int stretchCount = 0;
    int placedCount = 0;
    std::vector<Size> wanted(children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        CControlUI* c = children[i];
        if (!c->IsVisible() || c->IsFloat()) continue;
        Rect pad = c->GetPadding();
        wanted[i] = c->EstimateSize(available);
        int main = axis.Main(wanted[i]);
        if (main == 0) {
            ++stretchCount;
        } else {
            fixedTotal += ClampLen(main, axis.MinMain(c), axis.MaxMain(c));
        }
        fixedTotal += axis.PadMainBefore(pad) + axis.PadMainAfter(pad);
        ++placedCount;
    }
    if (placedCount > 1) fixedTotal += (placedCount - 1) * in.childPadding;

    int stretchEach = 0;
    int stretchRemainder = 0;
    if (stretchCount > 0) {
        int room = std::max(0, mainAvail - fixedTotal);
        stretchEach = room / stretchCount;
        stretchRemainder = room - stretchEach * stretchCount;
    }

    int pos = axis.MainStart(in.area) - (in.vertical ? in.scroll.cy : in.scroll.cx);
    if (stretchCount == 0 && fixedTotal < mainAvail) {
        unsigned centre = in.vertical ? DT_VCENTER : DT_CENTER;
        unsigned end = in.vertical ? DT_BOTTOM : DT_RIGHT;
        if ((in.mainAlign & centre) != 0) pos += (mainAvail - fixedTotal) / 2;
        else if ((in.mainAlign & end) != 0) pos += mainAvail - fixedTotal;
    }
    const int crossStart = axis.CrossStart(in.area) - (in.vertical ? in.scroll.cx : in.scroll.cy);

    int extentMain = 0;
    int extentCross = 0;
    int stretchSeen = 0;
    bool first = true;
    for (size_t i = 0; i < children.size(); ++i) {
        CControlUI* c = children[i];
        if (!c->IsVisible() || c->IsFloat()) continue;
        if (!first) pos += in.childPadding;
        first = false;
        Rect pad = c->GetPadding();
        int main = axis.Main(wanted[i]);
        if (main == 0) {
            ++stretchSeen;
            main = stretchEach + (stretchSeen == stretchCount ? stretchRemainder : 0);
        }
        main = ClampLen(main, axis.MinMain(c), axis.MaxMain(c));

        int crossRoom = crossAvail - axis.PadCrossBefore(pad) - axis.PadCrossAfter(pad);
        int cross = axis.Cross(wanted[i]);
        if (cross == 0) cross = std::max(0, crossRoom);
        cross = ClampLen(cross, axis.MinCross(c), axis.MaxCross(c));
        int crossPos = crossStart + axis.PadCrossBefore(pad);
        unsigned centre = in.vertical ? DT_CENTER : DT_VCENTER;
        unsigned end = in.vertical ? DT_RIGHT : DT_BOTTOM;
        if ((in.align & centre) != 0) crossPos += (crossRoom - cross) / 2;
        else if ((in.align & end) != 0) crossPos += crossRoom - cross;

        pos += axis.PadMainBefore(pad);
        c->SetPos(axis.Make(pos, main, crossPos, cross), false);
        pos += main + axis.PadMainAfter(pad);
        extentMain += axis.PadMainBefore(pad) + main + axis.PadMainAfter(pad);
        extentCross = std::max(extentCross, cross + axis.PadCrossBefore(pad) + axis.PadCrossAfter(pad));
    }
    if (placedCount > 1) extentMain += (placedCount - 1) * in.childPadding;
    return in.vertical ? Size{extentCross, extentMain} : Size{extentMain, extentCross};
}

}  // namespace ui
