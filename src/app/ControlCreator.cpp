// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlCreator.h"

#include <array>

#include "app/CDeviceOptionUI.h"
#include "app/CMpDevicePowerUI.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/CLumitrekMousePadDevice.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/CLumitrekZO6533Device.h"
#include "panels/headset/CMagicControlUI.h"
#include "panels/headset/CVirtualSetControlUI.h"
#include "panels/headset/CVoice6533ControlUI.h"
#include "panels/keys/CKeySetControlUI.h"
#include "panels/lighting/CLightControlUI.h"
#include "panels/macro/CMacroControlUI.h"
#include "panels/profile/CDeviceProfileUI.h"
#include "panels/shoot/CShootControlUI.h"
#include "platform/TextCompare.h"
#include "platform/Trace.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHorizontalLayoutUI.h"
#include "ui/controls/CCircleProgressUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/controls/CHandImgButtonUI.h"
#include "ui/controls/CHandImgSelectButtonUI.h"
#include "ui/controls/CSelectPanelUI.h"

namespace app {

namespace {

// Sub-layouts containing sub-layouts deeper than this are a layout that includes itself.
constexpr int kMaxNesting = 8;

template <typename T>
ui::CControlUI* Make() {
    return new T();
}

struct ControlClass {
    std::string_view element;
    ui::CControlUI* (*create)();
};

constexpr std::array kClasses = {
    ControlClass{"CircleProgress", &Make<ui::CCircleProgressUI>},
    ControlClass{"SelectPanel", &Make<ui::CSelectPanelUI>},
    ControlClass{"DeviceKeyButton", &Make<ui::CDeviceKeyButtonUI>},
    ControlClass{"HandImgButton", &Make<ui::CHandImgButtonUI>},
    ControlClass{"HandImgSelectButton", &Make<ui::CHandImgSelectButtonUI>},
    ControlClass{"DeviceOption", &Make<CDeviceOptionUI>},
    ControlClass{"MpDevicePower", &Make<CMpDevicePowerUI>},
    // Device objects.
    ControlClass{"LumitrekKeyboardDevice", &Make<model::CLumitrekKeyboardDevice>},
    ControlClass{"LumitrekMousePadDevice", &Make<model::CLumitrekMousePadDevice>},
    ControlClass{"LumitrekMouseDevice", &Make<model::CLumitrekMouseDevice>},
    ControlClass{"LumitrekZO6533Device", &Make<model::CLumitrekZO6533Device>},
    ControlClass{"DeviceProfile", &Make<panels::CDeviceProfileUI>},
    ControlClass{"LightControl", &Make<panels::CLightControlUI>},
    ControlClass{"MacroControl", &Make<panels::CMacroControlUI>},
    ControlClass{"KeySetControl", &Make<panels::CKeySetControlUI>},
    ControlClass{"MagicControl", &Make<panels::CMagicControlUI>},
    ControlClass{"Voice6533Control", &Make<panels::CVoice6533ControlUI>},
    ControlClass{"VirtualSetControl", &Make<panels::CVirtualSetControlUI>},
    ControlClass{"ShootControl", &Make<panels::CShootControlUI>},
};

constexpr std::array<ControlCreator::SubLayout, 8> kSubLayouts = {{
    {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
    {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
    {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
    {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
    {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
    {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
    {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
    {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
}};

}  // namespace

ControlCreator::ControlCreator(ui::CPaintManagerUI& manager) : manager_(manager) {}

std::span<const ControlCreator::SubLayout> ControlCreator::SubLayouts() {
    return kSubLayouts;
}

ui::CControlUI* ControlCreator::CreateControl(std::string_view element) {
    for (const ControlClass& entry : kClasses) {
        if (platform::EqualsNoCase(element, entry.element)) return entry.create();
    }
    for (const SubLayout& sub : kSubLayouts) {
        if (platform::EqualsNoCase(element, sub.element)) return BuildSubLayout(sub.file);
    }
    return nullptr;
}

ui::CControlUI* ControlCreator::BuildSubLayout(std::string_view file) {
    if (nesting_ >= kMaxNesting) {
        platform::TraceF("sub-layout %.*s nested too deeply\n", static_cast<int>(file.size()),
                         file.data());
        return nullptr;
    }
    ++nesting_;
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(file, this, &manager_);
    --nesting_;
    return root;
}

}  // namespace app
