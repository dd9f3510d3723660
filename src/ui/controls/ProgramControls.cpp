// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/ProgramControls.h"

#include "ui/CControlFactory.h"
#include "ui/controls/CChartViewUI.h"
#include "ui/controls/CCircleProgressUI.h"
#include "ui/controls/CCloudShareListItemUI.h"
#include "ui/controls/CComboEditContainerElementUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/controls/CHandImgButtonUI.h"
#include "ui/controls/CHandImgSelectButtonUI.h"
#include "ui/controls/CRedioMacroButtonUI.h"
#include "ui/controls/CSelectPanelUI.h"
#include "ui/controls/CUpdateInfoListItemUI.h"
#include "ui/controls/CWndUI.h"

namespace ui {

namespace {

template <typename T>
void Register(std::string_view className, std::string_view elementName = {}) {
    CControlFactory& factory = CControlFactory::GetInstance();
    factory.RegistControl(className, [] { return new T(); });
    if (!elementName.empty()) factory.RegistControl(elementName, [] { return new T(); });
}

}  // namespace

void RegisterProgramControls() {
    Register<CCircleProgressUI>("CCircleProgressUI", "CircleProgress");
    Register<CChartViewUI>("CChartViewUI");
    Register<CWndUI>("CWndUI");
    Register<CSelectPanelUI>("CSelectPanelUI", "SelectPanel");
    Register<CDeviceKeyButtonUI>("CDeviceKeyButtonUI", "DeviceKeyButton");
    Register<CCloudShareListItemUI>("CCloudShareListItemUI");
    Register<CUpdateInfoListItemUI>("CUpdateInfoListItemUI");
    Register<CHandImgButtonUI>("CHandImgButtonUI", "HandImgButton");
    Register<CHandImgSelectButtonUI>("CHandImgSelectButtonUI", "HandImgSelectButton");
    Register<CComboEditContainerElementUI>("CComboEditContainerElementUI",
                                           "ComboEditContainerElement");
    Register<CRedioMacroButtonUI>("CRedioMacroButtonUI", "RedioMacroButton");
}

}  // namespace ui
