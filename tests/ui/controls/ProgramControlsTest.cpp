// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "ControlsTestWindow.h"
#include "ui/CControlFactory.h"
#include "ui/CControlUI.h"

namespace tx512::test {
namespace {

struct Registration {
    const char* factoryName;
    const char* className;  // what GetClass reports and GetInterface answers to
};

TEST(ProgramControls, EveryClassIsCreatedUnderItsNames) {
    ui::RegisterProgramControls();
    const Registration rows[] = {
        {"CCircleProgressUI", "CircleProgress"},
        {"CircleProgress", "CircleProgress"},
        {"CChartViewUI", "ChartView"},
        {"CWndUI", "Wnd"},
        {"CSelectPanelUI", "SelectPanel"},
        {"SelectPanel", "SelectPanel"},
        {"CDeviceKeyButtonUI", "DeviceKeyButton"},
        {"DeviceKeyButton", "DeviceKeyButton"},
        {"CCloudShareListItemUI", "CloudShareListItemUI"},
        {"CUpdateInfoListItemUI", "UpdateInfoListItemUI"},
        {"CHandImgButtonUI", "HandImgButton"},
        {"HandImgButton", "HandImgButton"},
        {"CHandImgSelectButtonUI", "HandImgSelectButton"},
        {"HandImgSelectButton", "HandImgSelectButton"},
        {"CComboEditContainerElementUI", "ComboEditContainerElement"},
        {"ComboEditContainerElement", "ComboEditContainerElement"},
        {"CRedioMacroButtonUI", "RedioMacroButton"},
        {"RedioMacroButton", "RedioMacroButton"},
    };
    for (const Registration& row : rows) {
        SCOPED_TRACE(row.factoryName);
        std::unique_ptr<ui::CControlUI> control(
            ui::CControlFactory::GetInstance().CreateControl(row.factoryName));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetClass(), row.className);
        EXPECT_EQ(control->GetInterface(row.className), control.get());
        EXPECT_NE(control->GetInterface("Control"), nullptr);
    }
}

}  // namespace
}  // namespace tx512::test
