// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CWndUI.h"

namespace tx512::test {
namespace {

using ui::CWndUI;
using ui::Rect;

class FakeWindow : public ui::INativeWindow {
public:
    explicit FakeWindow(ui::WindowHandle parentWindow) : parent(parentWindow) {}
    ui::WindowHandle GetParentWindow() const override { return parent; }
    void Place(const Rect& rc) override { places.push_back(rc); }
    void Show(bool show) override { shown = show; }

    ui::WindowHandle parent;
    std::vector<Rect> places;
    bool shown = false;
};

constexpr const char* kHost = R"(<VerticalLayout>
  <HorizontalLayout name="page" height="100">
    <Control width="30"/>
    <CWndUI name="host" width="120"/>
  </HorizontalLayout>
</VerticalLayout>)";

class Wnd : public ::testing::Test {
protected:
    void SetUp() override {
        w.manager.Init(kPaintWindow);
        w.manager.SetWindowOrigin(ui::Point{1000, 500});
        w.Load(kHost);
        host = w.Find<CWndUI>("host", "Wnd");
        ASSERT_NE(host, nullptr);
        ASSERT_EQ(host->GetPos(), (Rect{30, 0, 150, 100}));
    }

    static constexpr ui::WindowHandle kPaintWindow = 77;
    ControlsTestWindow w;
    CWndUI* host = nullptr;
};

TEST_F(Wnd, ChildWindowFollowsTheControlInClientPixels) {
    auto child = std::make_shared<FakeWindow>(kPaintWindow);
    host->Attach(child);
    ASSERT_FALSE(child->places.empty());
    EXPECT_EQ(child->places.back(), (Rect{30, 0, 150, 100}));
    EXPECT_TRUE(child->shown);

    host->SetFixedWidth(200);
    w.manager.EnsureLayout();
    EXPECT_EQ(child->places.back(), (Rect{30, 0, 230, 100}));
}

TEST_F(Wnd, OtherWindowIsPlacedInScreenPixels) {
    auto popup = std::make_shared<FakeWindow>(0);
    host->Attach(popup);
    EXPECT_EQ(popup->places.back(), (Rect{1030, 500, 1150, 600}));
}

TEST_F(Wnd, VisibilityOfControlOrItsPageIsFollowed) {
    auto child = std::make_shared<FakeWindow>(kPaintWindow);
    host->Attach(child);
    host->SetVisible(false);
    EXPECT_FALSE(child->shown);
    host->SetVisible(true);
    EXPECT_TRUE(child->shown);
    host->SetInternVisible(false);  // as a tab layout does for the pages it hides
    EXPECT_FALSE(child->shown);
}

TEST_F(Wnd, DetachedOrDestroyedWindowIsLeftAlone) {
    auto child = std::make_shared<FakeWindow>(kPaintWindow);
    host->Attach(child);
    host->Detach();
    const std::size_t placed = child->places.size();
    host->SetPos(Rect{0, 0, 10, 10});
    host->SetVisible(false);
    EXPECT_EQ(child->places.size(), placed);
    EXPECT_TRUE(child->shown);

    host->Attach(child);
    child.reset();
    EXPECT_EQ(host->GetWindow(), nullptr);
    host->SetVisible(true);  // the sanitizers watch that nothing reaches the freed window
    host->SetPos(Rect{0, 0, 20, 20});
}

}  // namespace
}  // namespace tx512::test
