// SPDX-License-Identifier: GPL-3.0-or-later
// Building control trees from layouts: lookups, styles, defaults, includes, the resource
// index, the factory and the creation callback.
#include "UiTestSupport.h"

#include "ui/CButtonUI.h"
#include "ui/CComboUI.h"
#include "ui/CContainerUI.h"
#include "ui/CControlFactory.h"
#include "ui/CEditUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListUI.h"
#include "ui/COptionUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/CVerticalLayoutUI.h"
#include "ui/IDialogBuilderCallback.h"

namespace {

using namespace ui;
using uitest::LayoutFixture;
using uitest::ScratchSkin;

class LayoutBuilderTest : public LayoutFixture {};

TEST_F(LayoutBuilderTest, FindsControlsByNameAndInsideSubtrees) {
    Build(R"(<Window size="400,300">
      <VerticalLayout name="root">
        <HorizontalLayout name="left"><Button name="ok" text="OK"/><Label name="caption"/></HorizontalLayout>
        <HorizontalLayout name="right"><Button name="ok" text="second"/></HorizontalLayout>
      </VerticalLayout></Window>)");
    // The first of two equal names in tree order wins a window-wide lookup...
    EXPECT_EQ(pm.FindControl("ok")->GetText(), "OK");
    // ...while a subtree lookup finds the one inside it.
    CControlUI* right = pm.FindControl("right");
    EXPECT_EQ(pm.FindSubControlByName(right, "ok")->GetText(), "second");
    EXPECT_EQ(pm.FindControl("missing"), nullptr);
    EXPECT_EQ(pm.FindSubControlByName(right, "caption"), nullptr);
    EXPECT_EQ(pm.FindControl("OK"), nullptr) << "names are looked up in their exact case";
    // Classes and interfaces.
    CControlUI* ok = pm.FindControl("ok");
    EXPECT_EQ(ok->GetClass(), "Button");
    EXPECT_NE(ok->GetInterface("Button"), nullptr);
    EXPECT_NE(ok->GetInterface("Label"), nullptr);
    EXPECT_EQ(ok->GetInterface("Option"), nullptr);
}

TEST_F(LayoutBuilderTest, NameIndexFollowsRenamesAndRemovals) {
    Build(R"(<VerticalLayout name="root"><Label name="a"/><Label name="b"/></VerticalLayout>)");
    auto* root = Find<CVerticalLayoutUI>("root");
    pm.FindControl("a")->SetName("renamed");
    EXPECT_EQ(pm.FindControl("a"), nullptr);
    EXPECT_NE(pm.FindControl("renamed"), nullptr);
    root->Remove(pm.FindControl("b"));
    EXPECT_EQ(pm.FindControl("b"), nullptr);
    auto* added = new CLabelUI();
    added->SetName("late");
    root->AddAt(added, 0);
    EXPECT_EQ(pm.FindControl("late"), added);
    EXPECT_EQ(root->GetItemIndex(added), 0);
}

TEST_F(LayoutBuilderTest, StylesAndDefaultsApplyInOrder) {
    Build(R"(<Window>
      <Style name="macro_label_down_style" value="textcolor=&quot;#FF00FF00&quot; width=&quot;40&quot; text=&quot;down&quot;"/>
      <Default name="Label" value="textcolor=&quot;#FF111111&quot; height=&quot;20&quot;"/>
      <VerticalLayout>
        <Label name="plain"/>
        <Label name="styled" style="macro_label_down_style"/>
        <Label name="override" style="macro_label_down_style" text="own"/>
      </VerticalLayout></Window>)");
    EXPECT_EQ(Find<CLabelUI>("plain")->GetTextColor(), 0xFF111111u);
    EXPECT_EQ(Find<CLabelUI>("plain")->GetFixedHeight(), 20);
    EXPECT_EQ(Find<CLabelUI>("styled")->GetTextColor(), 0xFF00FF00u);
    EXPECT_EQ(Find<CLabelUI>("styled")->GetFixedWidth(), 40);
    EXPECT_EQ(Find<CLabelUI>("styled")->GetText(), "down");
    // An attribute after the style wins over the style.
    EXPECT_EQ(Find<CLabelUI>("override")->GetText(), "own");
}

TEST_F(LayoutBuilderTest, StyleSetInCodeBeforeTheControlJoinsATree) {
    Build(R"(<Window><Style name="macro_label_up_style" value="textcolor=&quot;#FFFF0000&quot;"/>
             <VerticalLayout name="rows"/></Window>)");
    // Rows are built in code and styled before they are added.
    auto* label = new CLabelUI();
    label->SetAttribute("style", "macro_label_up_style");
    Find<CVerticalLayoutUI>("rows")->Add(label);
    EXPECT_EQ(label->GetTextColor(), 0xFFFF0000u);
}

TEST_F(LayoutBuilderTest, ItemsOfCombosListsAndTabs) {
    Build(R"(<VerticalLayout>
      <Combo name="combo"><ListLabelElement text="a"/><ListLabelElement text="b"/></Combo>
      <List name="list"><ListLabelElement text="x"/><ListContainerElement name="row"><Label text="in row"/></ListContainerElement></List>
      <TabLayout name="tabs" selectedid="1"><Control name="p0"/><Control name="p1"/></TabLayout>
      <Option name="opt" group="g" selected="true"/>
      <Edit name="edit" numberonly="true" maxchar="6" minvalue="0" maxvalue="65535"/>
    </VerticalLayout>)");
    EXPECT_EQ(Find<CComboUI>("combo")->GetCount(), 2);
    EXPECT_EQ(Find<CComboUI>("combo")->GetCurSel(), -1);
    EXPECT_EQ(Find<CListUI>("list")->GetCount(), 2);
    EXPECT_NE(pm.FindControl("row")->GetInterface("ListItem"), nullptr);
    EXPECT_EQ(Find<CTabLayoutUI>("tabs")->GetCurSel(), 1) << "selectedid given before the pages";
    EXPECT_FALSE(pm.FindControl("p0")->IsVisible());
    EXPECT_TRUE(pm.FindControl("p1")->IsVisible());
    EXPECT_TRUE(Find<COptionUI>("opt")->IsSelected());
    auto* edit = Find<CEditUI>("edit");
    EXPECT_TRUE(edit->IsNumberOnly());
    EXPECT_EQ(edit->GetMaxChar(), 6);
    EXPECT_EQ(edit->GetMaxValue(), 65535);
    EXPECT_EQ(recorder.Seen(), std::vector<std::string>{}) << "building raises nothing";
}

// The program's creation callback: a sub-layout for one name, a control for another.
class Callback : public IDialogBuilderCallback {
public:
    explicit Callback(CPaintManagerUI* pm) : pm_(pm) {}
    CControlUI* CreateControl(std::string_view name) override {
        asked.emplace_back(name);
        if (name == "KeySetControlUI") {
            CDialogBuilder builder;
            return builder.Create("XML\\CustomControlXML\\KeySetControl.xml", this, pm_);
        }
        if (name == "Gadget") {
            auto* c = new CLabelUI();
            c->SetUserData("made by callback");
            return c;
        }
        return nullptr;
    }
    std::vector<std::string> asked;

private:
    CPaintManagerUI* pm_;
};

TEST_F(LayoutBuilderTest, SubLayoutsAndTheCreationCallback) {
    ScratchSkin skin;
    skin.Write("XML/CustomControlXML/KeySetControl.xml",
               R"(<HorizontalLayout name="key_panel"><Gadget name="inner"/><Button name="keyset_btn"/></HorizontalLayout>)");
    skin.Write("main.xml", R"(<Window size="300,200"><VerticalLayout name="root">
        <KeySetControlUI name="KeySetControlItem" height="50"/>
        <NoSuchThing name="dropped"><Button name="inside_dropped"/></NoSuchThing>
        <Label name="after"/></VerticalLayout></Window>)");
    skin.Write("res.xml", R"(<Res><XML id="XML_MAIN" path="main.xml"/></Res>)");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadResource("res.xml"));
    Callback callback(&pm);
    CDialogBuilder builder;
    CControlUI* root = builder.Create("XML_MAIN", &callback, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    EXPECT_EQ(pm.GetInitSize(), (Size{300, 200}));
    // The element's own attributes apply to the sub-layout's root.
    CControlUI* panel = pm.FindControl("KeySetControlItem");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetFixedHeight(), 50);
    EXPECT_EQ(pm.FindControl("inner")->GetUserData(), "made by callback");
    EXPECT_NE(pm.FindSubControlByName(panel, "keyset_btn"), nullptr);
    // An element nobody creates is left out with what it holds; the rest still builds.
    EXPECT_EQ(pm.FindControl("dropped"), nullptr);
    EXPECT_EQ(pm.FindControl("inside_dropped"), nullptr);
    EXPECT_NE(pm.FindControl("after"), nullptr);
    EXPECT_NE(std::find(callback.asked.begin(), callback.asked.end(), "NoSuchThing"),
              callback.asked.end());
}

TEST_F(LayoutBuilderTest, FactoryRegistrationsCreateProgramClasses) {
    class CGaugeUI : public CLabelUI {
    public:
        std::string GetClass() const override { return "Gauge"; }
    };
    CControlFactory::GetInstance().RegistControl("CGaugeUI", [] { return new CGaugeUI(); });
    Build(R"(<VerticalLayout><cgaugeui name="g"/></VerticalLayout>)");
    EXPECT_EQ(pm.FindControl("g")->GetClass(), "Gauge") << "factory names ignore case";
    CControlFactory::GetInstance().UnregistControl("CGaugeUI");
    EXPECT_FALSE(CControlFactory::GetInstance().IsRegistered("CGaugeUI"));
}

TEST_F(LayoutBuilderTest, IncludesAndFontsAndMissingFiles) {
    ScratchSkin skin;
    skin.Write("part.xml", R"(<Button name="included"/>)");
    skin.Write("loop.xml", R"(<VerticalLayout><Include source="loop.xml"/></VerticalLayout>)");
    Build(R"(<Window><Font id="1" name="Verdana" size="14" underline="true"/>
             <Font name="Sans" size="12" default="true"/>
             <VerticalLayout name="root"><Include source="part.xml" count="2"/></VerticalLayout></Window>)");
    EXPECT_EQ(pm.FindSubControlsByClass(pm.GetRoot(), "Button").size(), 2u);
    EXPECT_EQ(pm.GetFont(1).iSize, 14);
    EXPECT_TRUE(pm.GetFont(1).bUnderline);
    EXPECT_EQ(pm.GetFont(99).sFontName, "Sans") << "unknown ids fall back to the default font";

    CDialogBuilder builder;
    EXPECT_EQ(builder.Create("nothing/here.xml", nullptr, &pm), nullptr);
    EXPECT_FALSE(builder.GetLastError().empty());
    EXPECT_EQ(builder.Create("<Window><Unclosed></Window>", nullptr, &pm), nullptr);
    // An include cycle ends instead of recursing forever.
    CControlUI* looped = builder.Create("loop.xml", nullptr, &pm);
    ASSERT_NE(looped, nullptr);
    delete looped;
}

}  // namespace
