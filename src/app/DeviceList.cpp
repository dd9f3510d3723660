// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceList.h"

#include "app/CDeviceOptionUI.h"
#include "app/CMpDevicePowerUI.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "platform/Trace.h"
#include "ui/CDialogBuilder.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/CWindowWnd.h"
#include "ui/TNotifyUI.h"

namespace app {

namespace {

constexpr const char* kTabList = "device_select_layout";
constexpr const char* kPages = "device_switch";
constexpr const char* kPowerIndicators = "device_power_switch";
constexpr const char* kNoDevice = "No_device_Link";
constexpr int kFirstFunctionPage = 1;
constexpr int kLastFunctionPage = 8;

ui::CContainerUI* AsContainer(ui::CControlUI* control) {
    return control != nullptr ? static_cast<ui::CContainerUI*>(control->GetInterface("Container"))
                              : nullptr;
}

ui::CTabLayoutUI* AsTabLayout(ui::CControlUI* control) {
    return control != nullptr ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout"))
                              : nullptr;
}

bool SameDevice(const device::SupportedDeviceEntry& a, const device::SupportedDeviceEntry& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId && a.kind == b.kind;
}

}  // namespace

DeviceList::DeviceList(ui::CPaintManagerUI& manager, ui::IDialogBuilderCallback& creator,
                       device::SlotList& slots)
    : manager_(manager), creator_(creator), slots_(slots) {}

DeviceList::~DeviceList() = default;

// ---- creation

void DeviceList::CreateDevices() {
    for (const device::DeviceTypeRow& type : device::DeviceTypeTable()) {
        const int slot =
            device::FindInterfaceRow(type.vendorId, type.productId, type.kind, type.role);
        if (slot < 0) continue;
        CreateDevice(type, static_cast<std::size_t>(slot));
    }
}

std::vector<model::CLumitrekUSBDevice*>* DeviceList::ListOfKind(int kind) {
    switch (kind) {
        case device::kKindKeyboard:
            return &keyboards_;
        case device::kKindMouse:
        case device::kKindMouseLongWait:
            return &mice_;
        case device::kKindMousePad:
            return &pads_;
        case device::kKindHeadset:
            return &headsets_;
        default:
            return nullptr;
    }
}

ui::CControlUI* DeviceList::Build(const std::string& layout) {
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(layout, &creator_, &manager_);
    if (root == nullptr)
        platform::TraceF("device list: %s: %s\n", layout.c_str(), builder.GetLastError().c_str());
    return root;
}

void DeviceList::CreateDevice(const device::DeviceTypeRow& type, std::size_t slotIndex) {
    const device::SupportedDeviceEntry slot = slots_.Slot(slotIndex);
    std::vector<model::CLumitrekUSBDevice*>* list = ListOfKind(slot.kind);
    if (list == nullptr) return;
    const int row = device::FindDeviceTypeRow(slot.vendorId, slot.productId, slot.kind, type.role);
    if (row < 0) return;
    const device::DeviceTypeRow& typeRow = device::DeviceTypeTable()[row];
    const device::DevicePageRow& page = device::DevicePageTable()[row];

    auto* containerTabs = AsContainer(manager_.FindControl(kTabList));
    auto* pages = AsContainer(manager_.FindControl(kPages));
    auto* indicators = AsContainer(manager_.FindControl(typeRow.powerSwitchName));
    if (containerTabs == nullptr || pages == nullptr || indicators == nullptr) return;

    // Built whole or not at all: nothing joins the window until all three exist.
    ui::CControlUI* powerRoot = Build(CMpDevicePowerUI::kLayout);
    ui::CControlUI* pageRoot = powerRoot != nullptr ? Build(page.pageLayout) : nullptr;
    ui::CControlUI* tabRoot = pageRoot != nullptr ? Build(typeRow.tabLayout) : nullptr;
    auto* power =
        powerRoot != nullptr
            ? static_cast<CMpDevicePowerUI*>(powerRoot->GetInterface(CMpDevicePowerUI::kClassName))
            : nullptr;
    auto* device =
        pageRoot != nullptr
            ? static_cast<model::CLumitrekUSBDevice*>(pageRoot->GetInterface("LumitrekUSBDevice"))
            : nullptr;
    auto* tab =
        tabRoot != nullptr
            ? static_cast<CDeviceOptionUI*>(tabRoot->GetInterface(CDeviceOptionUI::kClassName))
            : nullptr;
    if (power == nullptr || device == nullptr || tab == nullptr) {
        platform::TraceF("device list: no device object for \"%s\"\n", typeRow.typeName.c_str());
        delete powerRoot;
        delete pageRoot;
        delete tabRoot;
        return;
    }

    indicators->Add(power);
    power->SetKindRole(slot.kind, slot.role);
    powerIndicators_.push_back(power);
    const int powerIndex = indicators->GetCount() - 1;

    device->SetPageLayout(page.pageLayout);
    device->SetOwnerWindow(manager_.GetPaintWindow());
    device->SetKeyCount(page.keyCount);
    device->SetLedCount(page.ledCount);
    device->SetPowerParameter(page.powerParameter);
    device->SetTypeName(typeRow.typeName);
    device->SetPowerIndicator(power);
    device->SetIdentity(slot);
    device->SetTypeIndex(typeRow.typeIndex);
    device->SetLightListName(page.lightListName);
    device->BindKeyButtons();

    pages->Add(device);
    list->push_back(device);
    const int pageIndex = pages->GetCount() - 1;

    containerTabs->Add(tab);
    tab->SetDevice(device);
    tab->SetPowerIndicator(power);
    if (ui::COptionUI* synchro = tab->SynchroSelect()) synchro->SetVisible(false);
    tab->SetGroupName(typeRow.tabHeaderName);
    tab->BindTabLayout(kPages, pageIndex);
    tab->SetPowerTab(typeRow.powerSwitchName, powerIndex);
    tab->SetIconsFor(slot.kind, slot.role);
    tab->ResetSelectImages();
    tab->SetVisible(false);
    tab->SetDeviceName(typeRow.typeName);
    // The tab is in the window now, so the device's listener reaches the UI thread.
    device->SetDeviceTab(tab);

    Entry entry;
    entry.tab = tab;
    entry.device = device;
    // The picture is on screen when its tab is the selected one and the window is shown.
    ui::CPaintManagerUI* manager = &manager_;
    entry.timers = std::make_unique<model::DeviceTabTimers>(*device, [tab, manager] {
        if (!tab->IsTabVisible() || !tab->IsDeviceSelected()) return false;
        const ui::CWindowWnd* window = ui::CWindowWnd::FromHandle(manager->GetPaintWindow());
        return window == nullptr || (window->IsWindowVisible() && !window->IsMinimized());
    });
    entries_.push_back(std::move(entry));
}

// ---- arrival and removal

int DeviceList::BoundEntry(const device::SupportedDeviceEntry& slot) {
    for (int i = 0; i < TabCount(); ++i) {
        const device::SupportedDeviceEntry& identity = entries_[i].device->GetIdentity();
        if (SameDevice(identity, slot) && identity.role == slot.role) return i;
    }
    return -1;
}

int DeviceList::ConnectedEntryFor(const device::SupportedDeviceEntry& slot) {
    for (int i = 0; i < TabCount(); ++i) {
        model::CLumitrekUSBDevice& device = *entries_[i].device;
        if (SameDevice(device.GetIdentity(), slot) && device.IsConnected()) return i;
    }
    return -1;
}

void DeviceList::OpenClaimedEventChannel(model::CLumitrekUSBDevice& device) {
    if (device.IsEventChannelOpen()) return;
    for (const device::SupportedDeviceEntry& slot : slots_.Snapshot()) {
        if (slot.role != device::kRoleEvent || slot.connected == 0 || slot.path.empty()) continue;
        if (!SameDevice(slot, device.GetIdentity())) continue;
        device.OpenEventChannel(slot.path);
        return;
    }
}

void DeviceList::OnDeviceArrived(std::size_t slotIndex) {
    if (slotIndex >= slots_.Size()) return;
    const device::SupportedDeviceEntry slot = slots_.Slot(slotIndex);
    // Only a claimed slot names a present collection; placeholder rows would otherwise
    // match the objects created for them.
    if (slot.connected == 0 || slot.path.empty()) return;
    if (ListOfKind(slot.kind) == nullptr) return;

    if (slot.role == device::kRoleCommand) {
        const int index = BoundEntry(slot);
        if (index < 0) return;
        Entry& entry = entries_[index];
        if (!entry.device->IsConnected()) {
            if (entry.device->OpenCommandChannel(slot))
                platform::TraceF("device list: %s connected\n", slot.path.c_str());
            else
                platform::TraceF("device list: %s did not open\n", slot.path.c_str());
        }
        // The scanner lists a device's collections in descriptor order, so its event
        // collection may have been claimed while the command channel was still closed.
        if (entry.device->IsConnected()) OpenClaimedEventChannel(*entry.device);
        // The first device to arrive becomes current and a later one does not take over;
        // a device whose tab is still shown (a repeated arrival) keeps its selection.
        const int current = CurrentTabIndex();
        ShowTab(index, true, current < 0 || current == index);
        entry.timers->OnCommandChannelOpened();
    } else if (slot.role == device::kRoleEvent) {
        const int index = ConnectedEntryFor(slot);
        if (index < 0) return;
        model::CLumitrekUSBDevice& device = *entries_[index].device;
        if (!device.IsEventChannelOpen()) device.OpenEventChannel(slot.path);
    }
}

void DeviceList::OnDeviceRemoved(std::size_t slotIndex) {
    if (slotIndex >= slots_.Size()) return;
    const device::SupportedDeviceEntry slot = slots_.Slot(slotIndex);
    if (ListOfKind(slot.kind) == nullptr) return;

    if (slot.role == device::kRoleCommand) {
        const int index = BoundEntry(slot);
        if (index < 0) return;
        entries_[index].device->CloseCommandChannel();
        platform::TraceF("device list: %s removed\n",
                         entries_[index].device->GetTypeName().c_str());
        HideTab(index);
    } else if (slot.role == device::kRoleEvent) {
        for (Entry& entry : entries_)
            if (SameDevice(entry.device->GetIdentity(), slot)) entry.device->CloseEventChannel();
    }
}

void DeviceList::NoteMissedRemoval(std::size_t slot) {
    if (slot < slots_.Size()) missedRemovals_.insert(slot);
}

bool DeviceList::Reconcile() {
    const std::vector<device::SupportedDeviceEntry> slots = slots_.Snapshot();
    std::set<std::size_t> missed;
    missed.swap(missedRemovals_);
    const auto slotOf = [&slots](const device::SupportedDeviceEntry& identity, uint16_t role) {
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (SameDevice(slots[i], identity) && slots[i].role == role) return static_cast<int>(i);
        return -1;
    };
    const auto claimed = [&slots](int i) {
        return i >= 0 && slots[i].connected != 0 && !slots[i].path.empty();
    };
    const auto unbroken = [&](int i) { return claimed(i) && missed.count(i) == 0; };

    // Removals first, so that the arrivals below meet the tabs as the removal messages
    // would have left them.
    for (int i = 0; i < TabCount(); ++i) {
        model::CLumitrekUSBDevice& device = *entries_[i].device;
        const device::SupportedDeviceEntry identity = device.GetIdentity();
        const int command = slotOf(identity, identity.role);
        const int event = slotOf(identity, device::kRoleEvent);
        const bool keeps =
            device.IsConnected() && unbroken(command) && slots[command].path == identity.path;
        if (device.IsEventChannelOpen() && !(keeps && unbroken(event))) device.CloseEventChannel();
        if (device.IsConnected() && !keeps) {
            device.CloseCommandChannel();
            platform::TraceF("device list: %s closed after sleep\n", device.GetTypeName().c_str());
        }
        if (!claimed(command) && entries_[i].tab->IsTabVisible()) HideTab(i);
    }

    bool arrived = false;
    for (int i = 0; i < TabCount(); ++i) {
        model::CLumitrekUSBDevice& device = *entries_[i].device;
        const int command = slotOf(device.GetIdentity(), device.GetIdentity().role);
        if (!claimed(command)) continue;
        if (!device.IsConnected()) {
            OnDeviceArrived(static_cast<std::size_t>(command));
            arrived = arrived || entries_[i].tab->IsTabVisible();
            continue;
        }
        // Its event collection may have come or come back meanwhile.
        OpenClaimedEventChannel(device);
        if (!entries_[i].tab->IsTabVisible()) ShowTab(i, true, CurrentTabIndex() < 0);
    }
    SelectFirstVisibleIfNone();
    return arrived;
}

// ---- tabs

CDeviceOptionUI* DeviceList::Tab(int index) const {
    return index >= 0 && index < TabCount() ? entries_[index].tab : nullptr;
}

model::CLumitrekUSBDevice* DeviceList::DeviceAt(int index) const {
    return index >= 0 && index < TabCount() ? entries_[index].device : nullptr;
}

int DeviceList::IndexOf(const model::CLumitrekUSBDevice* device) const {
    for (int i = 0; i < TabCount(); ++i)
        if (entries_[i].device == device) return i;
    return -1;
}

int DeviceList::VisibleTabCount() const {
    int count = 0;
    for (const Entry& entry : entries_)
        if (entry.tab->IsTabVisible()) ++count;
    return count;
}

int DeviceList::ConnectedCount() const {
    int count = 0;
    for (const Entry& entry : entries_)
        if (entry.device->IsConnected()) ++count;
    return count;
}

void DeviceList::ShowPowerTab(CDeviceOptionUI& tab) {
    ui::CControlUI* control = manager_.FindControl(tab.GetPowerTabName());
    if (control == nullptr) return;
    if (tab.GetPowerTabIndex() < 0) {
        control->SetVisible(false);
        return;
    }
    control->SetVisible(true);
    if (ui::CTabLayoutUI* layout = AsTabLayout(control)) layout->SelectItem(tab.GetPowerTabIndex());
}

void DeviceList::ShowTab(int index, bool visible, bool select) {
    CDeviceOptionUI* tab = Tab(index);
    if (tab == nullptr) return;
    tab->SetVisible(visible);
    if (select) {
        if (ui::CTabLayoutUI* pages = AsTabLayout(manager_.FindControl(kPages)))
            pages->SelectItem(tab->GetBindTabIndex());
        ShowPowerTab(*tab);
    }
    if (ui::COptionUI* option = tab->DeviceSelect()) option->Selected(select, true);

    const int visibleTabs = VisibleTabCount();
    int synchroTabs = 0;
    for (const Entry& entry : entries_)
        if (entry.tab->IsTabVisible() && entry.tab->IsSynchroSelected()) ++synchroTabs;

    ui::CControlUI* noDevice = manager_.FindControl(kNoDevice);
    if (visibleTabs > 0) {
        if (noDevice != nullptr) noDevice->SetVisible(false);
    } else {
        if (noDevice != nullptr) noDevice->SetVisible(true);
        if (ui::CTabLayoutUI* power = AsTabLayout(manager_.FindControl(kPowerIndicators)))
            power->SelectItem(0);
        if (ui::CTabLayoutUI* pages = AsTabLayout(manager_.FindControl(kPages)))
            pages->SelectItem(0);
    }

    const bool several = visibleTabs > 1;
    for (Entry& entry : entries_) {
        if (hooks_.severalDevices) hooks_.severalDevices(*entry.device, several);
        if (!several) entry.device->Channel().SetSyncFlag(0);
    }

    if (synchroTabs <= 1) {
        for (Entry& entry : entries_) {
            if (ui::COptionUI* synchro = entry.tab->SynchroSelect())
                synchro->Selected(false, false);
            entry.tab->ResetSelectImages();
        }
    }
    OnPicturesMoved();
}

void DeviceList::OnPicturesMoved() {
    for (Entry& entry : entries_) entry.timers->OnPictureVisibilityChanged();
}

void DeviceList::HideTab(int index) {
    CDeviceOptionUI* tab = Tab(index);
    if (tab == nullptr) return;
    int next = -1;
    if (tab->IsTabVisible() && tab->IsDeviceSelected()) {
        if (hooks_.closeChildWindows) hooks_.closeChildWindows();
        if (hooks_.macroRecording && hooks_.macroRecording() && hooks_.stopMacroRecording)
            hooks_.stopMacroRecording();
        for (int i = 0; i < TabCount() && next < 0; ++i)
            if (i != index && entries_[i].tab->IsTabVisible()) next = i;
    }
    ShowTab(index, false, false);
    if (next >= 0) ShowTab(next, true, true);
}

void DeviceList::SelectFirstVisibleIfNone() {
    if (CurrentTabIndex() >= 0) return;
    for (int i = 0; i < TabCount(); ++i) {
        if (!entries_[i].tab->IsTabVisible()) continue;
        ShowTab(i, true, true);
        return;
    }
}

int DeviceList::CurrentTabIndex() {
    for (int i = 0; i < TabCount(); ++i)
        if (entries_[i].tab->IsTabVisible() && entries_[i].tab->IsDeviceSelected()) return i;
    return -1;
}

model::CLumitrekUSBDevice* DeviceList::CurrentDevice() {
    return DeviceAt(CurrentTabIndex());
}

// ---- switching

void DeviceList::OnDeviceSelectChanged() {
    for (Entry& entry : entries_) {
        if (!entry.tab->IsDeviceSelected()) continue;
        ShowPowerTab(*entry.tab);
        break;
    }
    OnPicturesMoved();
}

void DeviceList::SelectPrevious() {
    const int selected = CurrentTabIndex();
    if (selected < 0) return;
    for (int i = selected - 1; i >= 0; --i) {
        if (!entries_[i].tab->IsTabVisible()) continue;
        ShowTab(i, true, true);
        return;
    }
}

void DeviceList::SelectNext() {
    const int selected = CurrentTabIndex();
    if (selected < 0) return;
    for (int i = selected + 1; i < TabCount(); ++i) {
        if (!entries_[i].tab->IsTabVisible()) continue;
        ShowTab(i, true, true);
        return;
    }
}

void DeviceList::ShowFunctionPage(int page) {
    if (page < kFirstFunctionPage || page > kLastFunctionPage) return;
    model::CLumitrekUSBDevice* device = CurrentDevice();
    if (device == nullptr) return;
    device->ShowFunctionPage(page);
    if (hooks_.selectProfilePage) hooks_.selectProfilePage(*device, page);
}

// ---- timers, lighting, shutdown

bool DeviceList::OnTimer(const ui::TNotifyUI& msg) {
    if (msg.sType != "timer") return false;
    for (Entry& entry : entries_)
        if (msg.pSender == entry.tab)
            return entry.timers->OnTimer(static_cast<unsigned>(msg.wParam));
    return false;
}

void DeviceList::SetLightControl(bool on) {
    // The headset's LEDs are driven from the preview, so the switch stops its reports too.
    for (auto* list : {&keyboards_, &mice_, &pads_, &headsets_})
        for (model::CLumitrekUSBDevice* device : *list) device->SetPreviewEnabled(on);
}

void DeviceList::StopDevices() {
    for (Entry& entry : entries_) {
        manager_.KillTimer(entry.tab);
        entry.device->CloseEventChannel();
        entry.device->Shutdown();
    }
}

}  // namespace app
