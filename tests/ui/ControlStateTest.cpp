// SPDX-License-Identifier: GPL-3.0-or-later
// Control and container state that programs rely on: moving and re-parenting children,
// selections that follow their rows, edits' limits, scrolling, virtual windows, image
// sizes and the skin folder's index.
#include "UiTestSupport.h"

#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CListUI.h"
#include "ui/CNotifyPump.h"
#include "ui/COptionUI.h"
#include "ui/CSliderUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/CVerticalLayoutUI.h"
#include "ui/RecordingRenderTarget.h"

namespace {

using namespace ui;
using Seen = std::vector<std::string>;

class ControlStateTest : public uitest::LayoutFixture {
protected:
    CListLabelElementUI* Row(const std::string& name) {
        auto* row = new CListLabelElementUI();
        row->SetName(name);
        row->SetText(name);
        row->SetFixedHeight(30);
        return row;
    }
};

TEST_F(ControlStateTest, ListRowsMovedKeepTheirSelectionAndIndices) {
    Build(R"(<List name="macro_action_list"/>)", 200, 100);
    auto* list = Find<CListUI>("macro_action_list");
    for (const char* name : {"r0", "r1", "r2", "r3"}) list->Add(Row(name));
    list->SelectItem(1, false, false);
    // Move the selected row to the bottom as the row operations do.
    CControlUI* moving = pm.FindControl("r1");
    ASSERT_TRUE(list->SetItemIndex(moving, 3));
    EXPECT_EQ(list->GetCurSel(), 3);
    EXPECT_EQ(static_cast<IListItemUI*>(moving->GetInterface("ListItem"))->GetIndex(), 3);
    EXPECT_EQ(list->GetItemAt(1)->GetName(), "r2");
    // Removing a row above the selection shifts it; removing the selection clears it.
    list->RemoveAt(0);
    EXPECT_EQ(list->GetCurSel(), 2);
    list->Remove(moving);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(recorder.Seen(), Seen{}) << "none of this raises anything";
    // Hiding the selected row gives up the selection.
    list->SelectItem(0, false, false);
    list->GetItemAt(0)->SetVisible(false);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(list->SelectItem(0));
    // The wheel scrolls a list whose rows overflow.
    for (int i = 0; i < 6; ++i) list->Add(Row("more_" + std::to_string(i)));
    pm.EnsureLayout();
    driver.Wheel(pm, driver.CentreOf(list), -1);
    EXPECT_GT(list->GetScrollPos().cy, 0);
}

TEST_F(ControlStateTest, ChildrenCanBeDetachedAndAddedElsewhere) {
    Build(R"(<VerticalLayout><VerticalLayout name="from"><Option name="opt" group="g" height="20"/></VerticalLayout>
             <TabLayout name="tabs"><Control name="t0"/><Control name="t1"/><Control name="t2"/></TabLayout></VerticalLayout>)");
    auto* from = Find<CVerticalLayoutUI>("from");
    auto* tabs = Find<CTabLayoutUI>("tabs");
    CControlUI* opt = pm.FindControl("opt");
    ASSERT_TRUE(from->Remove(opt, true));
    EXPECT_EQ(pm.FindControl("opt"), nullptr);
    EXPECT_EQ(opt->GetManager(), nullptr);
    EXPECT_EQ(pm.GetOptionGroup("g"), nullptr) << "a detached option leaves its group";
    ASSERT_TRUE(tabs->AddAt(opt, 0));
    EXPECT_EQ(pm.FindControl("opt"), opt);
    EXPECT_EQ(tabs->GetCurSel(), 1) << "inserting before the page keeps the same page shown";
    EXPECT_FALSE(opt->IsVisible());
    EXPECT_NE(pm.GetOptionGroup("g"), nullptr);
    // Removing the shown page shows its neighbour.
    tabs->SelectItem(3);
    tabs->RemoveAt(3);
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_TRUE(pm.FindControl("t1")->IsVisible());
    EXPECT_FALSE(tabs->Add(nullptr));
    EXPECT_FALSE(tabs->Add(tabs->GetItemAt(0))) << "a child cannot be added twice";
}

TEST_F(ControlStateTest, EditLimitsAndWhatItShows) {
    Build(R"(<VerticalLayout><Edit name="bullet_delay_eidt" numberonly="true" minvalue="10" maxvalue="500" height="24"/>
             <Edit name="ro" readonly="true" text="fixed" height="24"/>
             <Edit name="secret" password="true" text="abc" height="24"/>
             <Edit name="tip" tipvalue="Repeat_input_text" height="24"/><Control/></VerticalLayout>)");
    CResourceManager::GetInstance().AddText("Repeat_input_text", "Type here");
    auto* delay = Find<CEditUI>("bullet_delay_eidt");
    delay->SetFocus();
    driver.Type(pm, "3");
    pm.SetFocus(nullptr);
    EXPECT_EQ(delay->GetText(), "10") << "raised to the minimum when the field is left";
    delay->SetText("");
    delay->SetFocus();
    pm.SetFocus(nullptr);
    EXPECT_EQ(delay->GetText(), "") << "an empty field stays empty";
    auto* ro = Find<CEditUI>("ro");
    ro->SetFocus();
    driver.Type(pm, "x");
    driver.Key(pm, vk::Back);
    EXPECT_EQ(ro->GetText(), "fixed");
    EXPECT_EQ(recorder.Count("textchanged", "ro"), 0);
    RecordingRenderTarget target;
    pm.Paint(target);
    auto texts = target.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "***"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "abc"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Type here"), texts.end());
    CResourceManager::GetInstance().Release();
}

TEST_F(ControlStateTest, ContextMenusAndVirtualWindows) {
    Build(R"(<VerticalLayout><List name="list" height="100"><ListLabelElement name="row" menu="true" height="30"/></List>
             <HorizontalLayout virtualwnd="mainpage" height="30"><Button name="inner"/></HorizontalLayout>
             <Button name="outer" height="30"/></VerticalLayout>)");
    driver.RightClick(pm.FindControl("row"));
    ASSERT_EQ(recorder.Count("menu", "row"), 1);
    Point centre = driver.CentreOf(pm.FindControl("row"));
    EXPECT_EQ(recorder.entries.back().wParam, static_cast<std::uintptr_t>(centre.x));
    EXPECT_EQ(recorder.entries.back().lParam, centre.y);

    // A sub-notifier registered under a virtual window name gets its controls' clicks.
    CNotifyPump window;
    CNotifyPump page;
    std::vector<std::string> pageSaw, windowSaw;
    page.OnNotifyType("click", [&](TNotifyUI& msg) { pageSaw.push_back(msg.pSender->GetName()); });
    window.OnNotifyType("click", [&](TNotifyUI& msg) { windowSaw.push_back(msg.pSender->GetName()); });
    ASSERT_TRUE(window.AddVirtualWnd("mainpage", &page));
    EXPECT_FALSE(window.AddVirtualWnd("mainpage", &page));
    struct Forward : INotifyUI {
        CNotifyPump* pump;
        void Notify(TNotifyUI& msg) override { pump->NotifyPump(msg); }
    } forward;
    forward.pump = &window;
    pm.AddNotifier(&forward);
    driver.Click(pm.FindControl("inner"));
    driver.Click(pm.FindControl("outer"));
    pm.RemoveNotifier(&forward);
    EXPECT_EQ(pageSaw, Seen{"inner"});
    EXPECT_EQ(windowSaw, Seen{"outer"});
}

TEST_F(ControlStateTest, ImageSizesFromTheSkinFolder) {
    uitest::ScratchSkin skin;
    // A PNG header of 640 x 480.
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x02\x80\0\0\x01\xe0", 24);
    skin.Write("hand/hand.png", png);
    skin.Write("hand/not.png", "plain text, not an image");
    auto& resources = CResourceManager::GetInstance();
    EXPECT_EQ(resources.GetImageSize("hand/hand.png"), (Size{640, 480}));
    EXPECT_EQ(resources.GetImageSize("hand\\hand.png"), (Size{640, 480}));
    EXPECT_EQ(resources.GetImageSize("hand/not.png"), (Size{0, 0}));
    EXPECT_EQ(resources.GetImageSize("hand/missing.png"), (Size{0, 0}));
    resources.SetImageSizeQuery([](const std::filesystem::path&) { return Size{5, 6}; });
    EXPECT_EQ(resources.GetImageSize("anything.png"), (Size{5, 6}));
    // The index resolves identifiers; unknown names are paths.
    skin.Write("res.xml", R"(<Res><XML id="XML_MAIN" path="XML\main.xml"/><XML id="broken"/></Res>)");
    ASSERT_TRUE(resources.LoadResource("res.xml"));
    EXPECT_EQ(resources.GetXmlPath("XML_MAIN"), "XML/main.xml");
    EXPECT_EQ(resources.GetXmlPath("broken"), "");
    EXPECT_EQ(resources.ResolveFile("XML_MAIN"), skin.Dir() / "XML/main.xml");
    EXPECT_EQ(resources.ResolveFile("skin.xml"), skin.Dir() / "skin.xml");
    EXPECT_FALSE(resources.LoadResource("missing.xml"));
    EXPECT_EQ(resources.GetXmlPath("XML_MAIN"), "XML/main.xml") << "a failed load keeps what was read";
}

TEST_F(ControlStateTest, VerticalSliderAndAllWindowsDpi) {
    Build(R"(<VerticalLayout><Slider name="eq" hor="false" width="20" height="110" min="0" max="100" thumbsize="10,10"/>
             <Control/></VerticalLayout>)");
    auto* slider = Find<CSliderUI>("eq");
    const Rect rc = slider->GetPos();
    // The top of a vertical slider is its maximum.
    driver.Click(pm, Point{rc.left + 10, rc.top + 5});
    EXPECT_EQ(slider->GetValue(), 100);
    driver.Click(pm, Point{rc.left + 10, rc.bottom - 5});
    EXPECT_EQ(slider->GetValue(), 0);
    CPaintManagerUI other;
    CPaintManagerUI::SetAllDPI(120);
    EXPECT_EQ(pm.GetDPI(), 120);
    EXPECT_EQ(other.GetDPI(), 120);
    EXPECT_EQ(pm.ScaleValue(20), 25);
    pm.SetDPI(0);
    EXPECT_EQ(pm.GetDPI(), 120) << "nonsense values are refused";
}

}  // namespace
