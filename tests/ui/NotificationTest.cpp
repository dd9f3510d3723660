// SPDX-License-Identifier: GPL-3.0-or-later
// Which changes raise notifications: user input does, programmatic changes only where
// asked to (Selected/SelectItem with the trigger flag); focus moves raise
// "killfocus"/"setfocus".
#include "UiTestSupport.h"

#include "ui/CButtonUI.h"
#include "ui/CColorPaletteUI.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CListUI.h"
#include "ui/IListItemUI.h"
#include "ui/COptionUI.h"
#include "ui/CRichEditUI.h"
#include "ui/CSliderUI.h"
#include "ui/CTabLayoutUI.h"

namespace {

using namespace ui;
using Seen = std::vector<std::string>;

class NotificationTest : public uitest::LayoutFixture {};

TEST_F(NotificationTest, ButtonClickByInputAndNotBySetters) {
    Build(R"(<VerticalLayout><Button name="btn" height="30"/><Label name="lbl" height="30"/>
             <VerticalLayout name="box" enabled="false" height="30"><Button name="inner"/></VerticalLayout>
             <Control/></VerticalLayout>)");
    auto* btn = Find<CButtonUI>("btn");
    btn->SetText("changed");
    btn->SetVisible(false);
    btn->SetVisible(true);
    EXPECT_EQ(recorder.Seen(), Seen{});
    EXPECT_TRUE(driver.Click(btn));
    EXPECT_EQ(recorder.Count("click", "btn"), 1);
    // Released outside: no click.
    recorder.Clear();
    Point inside = driver.CentreOf(btn);
    driver.Drag(pm, inside, Point{inside.x, 250});
    EXPECT_EQ(recorder.Count("click", "btn"), 0);
    // A disabled control, or one inside a disabled container, takes no click.
    btn->SetEnabled(false);
    driver.Click(btn);
    driver.Click(pm.FindControl("inner"));
    EXPECT_EQ(recorder.Count("click", "btn"), 0);
    EXPECT_EQ(recorder.Count("click", "inner"), 0);
    EXPECT_FALSE(pm.FindControl("inner")->IsEnabled());
    // Keyboard activation of the focused button.
    btn->SetEnabled(true);
    btn->SetFocus();
    driver.Key(pm, vk::Return);
    EXPECT_EQ(recorder.Count("click", "btn"), 1);
}

TEST_F(NotificationTest, OptionGroupsSelectOneAndNotifyOnlyWhenAsked) {
    Build(R"(<HorizontalLayout>
      <Option name="polling_rate_option_0" group="rate" selected="true"/>
      <Option name="polling_rate_option_1" group="rate"/>
      <Option name="polling_rate_option_2" group="rate"/>
      <Option name="check"/></HorizontalLayout>)");
    auto* o0 = Find<COptionUI>("polling_rate_option_0");
    auto* o1 = Find<COptionUI>("polling_rate_option_1");
    auto* o2 = Find<COptionUI>("polling_rate_option_2");
    // Programmatic selection without notification still keeps one per group.
    o1->Selected(true, false);
    EXPECT_FALSE(o0->IsSelected());
    EXPECT_TRUE(o1->IsSelected());
    EXPECT_EQ(recorder.Seen(), Seen{});
    // With notification: only the option that becomes selected reports it.
    o2->Selected(true);
    EXPECT_EQ(recorder.Seen(), Seen{"selectchanged:polling_rate_option_2"});
    EXPECT_FALSE(o1->IsSelected());
    recorder.Clear();
    // Selecting the selected one again changes nothing and raises nothing.
    o2->Selected(true);
    EXPECT_EQ(recorder.Seen(), Seen{});
    // A click focuses, then "click", then "selectchanged"; clicking a selected group
    // member again keeps it selected.
    driver.Click(o0);
    EXPECT_EQ(recorder.Seen(), (Seen{"setfocus:polling_rate_option_0", "click:polling_rate_option_0",
                                     "selectchanged:polling_rate_option_0"}));
    recorder.Clear();
    driver.Click(o0);
    EXPECT_TRUE(o0->IsSelected());
    EXPECT_EQ(recorder.Seen(), Seen{"click:polling_rate_option_0"});
    // An option without a group toggles, reporting both ways.
    recorder.Clear();
    auto* check = Find<COptionUI>("check");
    driver.Click(check);
    driver.Click(check);
    EXPECT_FALSE(check->IsSelected());
    EXPECT_EQ(recorder.Count("selectchanged", "check"), 2);
    EXPECT_EQ(recorder.entries.back().wParam, 0u);
}

TEST_F(NotificationTest, OptionBoundToATabShowsItsPage) {
    Build(R"(<VerticalLayout>
      <HorizontalLayout height="20"><Option name="t0" group="tabs" bindtablayoutname="pages" bindtabindex="0" selected="true"/>
        <Option name="t1" group="tabs" bindtablayoutname="pages" bindtabindex="1"/></HorizontalLayout>
      <TabLayout name="pages"><Edit name="e0"/><Label name="l1"/></TabLayout></VerticalLayout>)");
    auto* tabs = Find<CTabLayoutUI>("pages");
    auto* edit = Find<CEditUI>("e0");
    edit->SetFocus();
    recorder.Clear();
    Find<COptionUI>("t1")->Selected(true, false);
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_TRUE(pm.FindControl("l1")->IsVisible());
    EXPECT_FALSE(edit->IsVisible());
    // The edit on the hidden page lost the focus.
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_EQ(recorder.Seen(), Seen{"killfocus:e0"});
    EXPECT_FALSE(tabs->SelectItem(5));
    EXPECT_EQ(tabs->GetCurSel(), 1);
}

TEST_F(NotificationTest, ComboSelection) {
    Build(R"(<VerticalLayout><Combo name="device_profile_combo" height="24">
      <ListLabelElement text="p0"/><ListLabelElement text="p1" visible="false"/><ListLabelElement text="p2"/>
      </Combo><Control/></VerticalLayout>)");
    auto* combo = Find<CComboUI>("device_profile_combo");
    EXPECT_TRUE(combo->SelectItem(0, false, false));
    EXPECT_EQ(combo->GetText(), "p0");
    EXPECT_EQ(recorder.Seen(), Seen{});
    EXPECT_TRUE(combo->SelectItem(2));
    ASSERT_EQ(recorder.Seen(), Seen{"itemselect:device_profile_combo"});
    EXPECT_EQ(recorder.entries.back().wParam, 2u);
    EXPECT_EQ(recorder.entries.back().lParam, 0);
    // A hidden item keeps its index but cannot be chosen; keys skip it.
    recorder.Clear();
    EXPECT_FALSE(combo->SelectItem(1));
    EXPECT_EQ(combo->GetCurSel(), -1) << "a failed selection leaves none";
    combo->SelectItem(2, false, false);
    combo->SetFocus();
    driver.Key(pm, vk::Up);
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(recorder.Count("itemselect", "device_profile_combo"), 1);
    // Clicking opens the drop-down; removing the selected item clears the selection.
    driver.Click(combo);
    EXPECT_TRUE(combo->IsDropped());
    combo->SelectItem(2, false, false);
    EXPECT_FALSE(combo->IsDropped()) << "choosing closes the drop-down";
    combo->RemoveAt(2);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetText(), "");
}

TEST_F(NotificationTest, ListSelectionClicksAndActivation) {
    Build(R"(<List name="macro_name_list" itemfont="-1">
      <ListLabelElement name="r0" text="a" height="20"/><ListLabelElement name="r1" text="b" height="20"/>
      <ListContainerElement name="macro_action" height="20"><Label name="action" text="down"/></ListContainerElement>
      </List>)");
    auto* list = Find<CListUI>("macro_name_list");
    driver.Click(pm.FindControl("r1"));
    EXPECT_EQ(recorder.Seen(), (Seen{"setfocus:r1", "itemclick:r1", "itemselect:macro_name_list"}));
    EXPECT_EQ(list->GetCurSel(), 1);
    recorder.Clear();
    // A click on a label inside a row selects the row.
    driver.Click(pm.FindControl("action"));
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(recorder.Count("itemclick", "macro_action"), 1);
    // Double click (and Return) activate; a right click selects but activates nothing.
    recorder.Clear();
    driver.DoubleClick(pm.FindControl("macro_action"));
    EXPECT_EQ(recorder.Count("itemactivate", "macro_action"), 1);
    recorder.Clear();
    driver.RightClick(pm.FindControl("r0"));
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_EQ(recorder.Count("itemactivate", "r0"), 0);
    EXPECT_EQ(recorder.Count("menu", "r0"), 0) << "no context menu unless the element allows it";
    // Keys move the selection with notification.
    recorder.Clear();
    driver.Key(pm, vk::Down);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(recorder.Count("itemselect", "macro_name_list"), 1);
    // Programmatic selection without notification, and clearing it.
    recorder.Clear();
    list->SelectItem(2, false, false);
    list->SelectItem(-1);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(recorder.Seen(), Seen{});
    // Inserting above the selection keeps the same row selected.
    list->SelectItem(1, false, false);
    list->AddAt(new CListLabelElementUI(), 0);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(pm.FindControl("r1")->GetInterface("ListItem") != nullptr, true);
    EXPECT_TRUE(static_cast<IListItemUI*>(pm.FindControl("r1")->GetInterface("ListItem"))->IsSelected());
}

TEST_F(NotificationTest, SliderDragAndSetValue) {
    Build(R"(<VerticalLayout><Slider name="deng_light_slider" height="20" min="0" max="100" thumbsize="10,10"/>
             <Control/></VerticalLayout>)", 110, 100);
    auto* slider = Find<CSliderUI>("deng_light_slider");
    slider->SetValue(40);
    slider->SetValue(500);
    EXPECT_EQ(slider->GetValue(), 100) << "clamped";
    EXPECT_EQ(recorder.Seen(), Seen{});
    slider->SetValue(0);
    const Rect rc = slider->GetPos();
    driver.Drag(pm, Point{rc.left + 5, rc.top + 10}, Point{rc.left + 55, rc.top + 10}, 5);
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_EQ(recorder.Count("movevaluechanged", "deng_light_slider"), 5);
    EXPECT_EQ(recorder.Count("valuechanged", "deng_light_slider"), 1);
    EXPECT_EQ(recorder.entries.back().type, "valuechanged");
    // The wheel moves by the step.
    recorder.Clear();
    driver.Wheel(pm, driver.CentreOf(slider), -1);
    EXPECT_EQ(slider->GetValue(), 49);
    EXPECT_EQ(recorder.Seen(), Seen{"valuechanged:deng_light_slider"});
}

TEST_F(NotificationTest, EditTypingLimitsAndFocus) {
    Build(R"(<VerticalLayout><Edit name="macro_delay" numberonly="true" maxchar="6" minvalue="0" maxvalue="65535" height="25"/>
             <Edit name="name_edit" height="25"/><Button name="other" height="25"/></VerticalLayout>)");
    auto* delay = Find<CEditUI>("macro_delay");
    delay->SetText("50");
    EXPECT_EQ(recorder.Seen(), Seen{}) << "SetText raises nothing";
    driver.Click(delay);
    EXPECT_EQ(recorder.Seen(), Seen{"setfocus:macro_delay"});
    recorder.Clear();
    driver.Type(pm, "1a2-");
    EXPECT_EQ(delay->GetText(), "5012") << "digits only, typed at the caret";
    EXPECT_EQ(recorder.Seen(), Seen{"textchanged:macro_delay"});
    driver.Type(pm, "34567");
    EXPECT_EQ(delay->GetText(), "501234") << "at most six characters";
    driver.Key(pm, vk::Return);
    EXPECT_EQ(recorder.Count("return", "macro_delay"), 1);
    // Leaving the field clamps to the maximum before "killfocus" is seen.
    recorder.Clear();
    std::string textAtKillFocus;
    struct Peek : INotifyUI {
        std::string* out;
        CEditUI* edit;
        void Notify(TNotifyUI& msg) override {
            if (msg.sType == "killfocus") *out = edit->GetText();
        }
    } peek;
    peek.out = &textAtKillFocus;
    peek.edit = delay;
    pm.AddNotifier(&peek);
    driver.Click(pm.FindControl("other"));
    pm.RemoveNotifier(&peek);
    EXPECT_EQ(textAtKillFocus, "65535");
    EXPECT_EQ(recorder.Seen(), (Seen{"killfocus:macro_delay", "setfocus:other", "click:other"}));
    // Backspace and UTF-8 text in a plain edit.
    auto* name = Find<CEditUI>("name_edit");
    name->SetFocus();
    driver.Type(pm, "Ärger");
    driver.Key(pm, vk::Back);
    EXPECT_EQ(name->GetText(), "Ärge");
    driver.Key(pm, vk::Home);
    driver.Key(pm, vk::Delete);
    EXPECT_EQ(name->GetText(), "rge");
    // Focus moved programmatically also reports both sides.
    recorder.Clear();
    pm.SetFocus(delay);
    EXPECT_EQ(recorder.Seen(), (Seen{"killfocus:name_edit", "setfocus:macro_delay"}));
    // Tab and Shift+Tab walk the controls that take the focus, in tree order.
    driver.Key(pm, vk::Tab);
    EXPECT_EQ(pm.GetFocus(), name);
    TInputEvent back;
    back.kind = TInputEvent::Kind::KeyDown;
    back.key = vk::Tab;
    back.modifiers = MK_SHIFT;
    pm.HandleInput(back);
    EXPECT_EQ(pm.GetFocus(), delay);
}

TEST_F(NotificationTest, RichEditReturnAndPaletteColour) {
    Build(R"(<VerticalLayout><RichEdit name="repeat_input_richedit" wantreturn="true" height="40"/>
             <RichEdit name="single" height="40"/>
             <ColorPalette name="deng_Color_Pallet" palletheight="100" barheight="10" height="120"/></VerticalLayout>)", 200, 300);
    auto* rich = Find<CRichEditUI>("repeat_input_richedit");
    rich->SetFocus();
    driver.Type(pm, "ab");
    driver.Key(pm, vk::Return);
    EXPECT_EQ(rich->GetText(), "ab\n");
    EXPECT_EQ(recorder.Count("return", "repeat_input_richedit"), 0);
    Find<CRichEditUI>("single")->SetFocus();
    driver.Key(pm, vk::Return);
    EXPECT_EQ(recorder.Count("return", "single"), 1);

    auto* palette = Find<CColorPaletteUI>("deng_Color_Pallet");
    palette->SetSelectColor(0xFF00FF00);
    EXPECT_EQ(palette->GetSelectColor(), 0xFF00FF00u);
    EXPECT_EQ(recorder.Count("colorchanged", "deng_Color_Pallet"), 0);
    // Top-left of the field is pure red at full brightness.
    recorder.Clear();
    palette->SetSelectColor(0xFFFFFFFF);
    Rect field = palette->GetPalletRect();
    driver.Click(pm, Point{field.left, field.top});
    ASSERT_EQ(recorder.Count("colorchanged", "deng_Color_Pallet"), 1);
    EXPECT_EQ(recorder.entries.back().wParam, 0xFFFF0000u);
}

}  // namespace
