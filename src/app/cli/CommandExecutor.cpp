// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CommandExecutor.h"


#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/CMainWnd.h"
#include "app/DeviceList.h"
#include "app/OperationIds.h"
#include "app/cli/CommandFiles.h"
#include "app/cli/CommandLookup.h"
#include "app/cli/StatusReport.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/ILightingPanel.h"
#include "model/device/IProfilePanel.h"
#include "model/device/PanelLookup.h"
#include "panels/lighting/CLightControlUI.h"
#include "panels/lighting/LightingOperations.h"
#include "panels/profile/CDeviceProfileUI.h"
#include "panels/profile/ProfileOperations.h"
#include "platform/TerminalText.h"
#include "ui/CMessageLoop.h"

namespace app::cli {

namespace {

constexpr unsigned kPollMs = 10;
constexpr unsigned kTimerId = 1;

}  // namespace

CommandExecutor::CommandExecutor(CMainWnd& window, ui::CMessageLoop& loop)
    : window_(window), loop_(loop) {}

CommandExecutor::~CommandExecutor() {
    if (Busy()) Refuse("the program ended before the command was done; run it again");
    loop_.KillTimers(this);
}

const char* CommandExecutor::DeviceWord() const {
    return request_.device == CliRequest::Device::Pad ? "mouse pad"
                                                      : cli::DeviceWord(request_.device);
}

void CommandExecutor::Run(const std::vector<std::string>& words, const std::string& workingDir,
                          Limits limits, Done done) {
    if (Busy()) {
        done({kRefused, "",
              "telix-tx512: another command is still writing to the device; try again when it has "
              "finished\n"});
        return;
    }
    ParsedRequest parsed = ParseRequest(words);
    if (!parsed.request) {
        done({kBadUsage, "", "telix-tx512: " + parsed.error + "\n"});
        return;
    }
    request_ = *parsed.request;
    workingDir_ = workingDir;
    limits_ = limits;
    done_ = std::move(done);
    outcome_.reset();
    doneText_.clear();
    phase_ = Phase::Ready;
    deadline_ = loop_.Now() + limits_.readyMs;
    Poll();
}

model::CLumitrekUSBDevice* CommandExecutor::Target() const {
    const auto& list = DevicesOf(window_.Devices(), request_.device);
    // The first one connected; a second keyboard of another model is a device of its own.
    for (model::CLumitrekUSBDevice* device : list)
        if (device->IsConnected()) return device;
    return list.empty() ? nullptr : list.front();
}

// Connected, done with the reads that follow a connection (its light thread runs from
// then on) and with nothing of its own in flight.
bool CommandExecutor::Ready(model::CLumitrekUSBDevice& device) const {
    return device.IsConnected() && device.LightThreadRunning() && device.OperationsIdle();
}

bool CommandExecutor::AllReady() const {
    DeviceList& devices = window_.Devices();
    if (!window_.FirstScanDone()) return false;
    for (CliRequest::Device kind : kEveryDevice)
        for (model::CLumitrekUSBDevice* device : DevicesOf(devices, kind))
            if (device->IsConnected() && !Ready(*device)) return false;
    return true;
}

void CommandExecutor::Poll() {
    std::weak_ptr<CommandExecutor*> alive = alive_;
    const auto again = [this, alive] {
        loop_.SetTimer(this, kTimerId, kPollMs, [alive] {
            if (const auto self = alive.lock()) (*self)->Poll();
        });
    };
    const bool late = loop_.Now() >= deadline_;
    if (phase_ == Phase::Ready) {
        if (request_.verb == CliRequest::Verb::Status) {
            if (AllReady() || late)
                Act();
            else
                again();
            return;
        }
        model::CLumitrekUSBDevice* device = Target();
        if (device != nullptr && Ready(*device)) {
            Act();
            return;
        }
        // The devices exist from the window's start-up on, and are connected by the end
        // of the scanner's first pass when they are there at all.
        const bool absent =
            window_.FirstScanDone() && (device == nullptr || !device->IsConnected());
        if (absent || late) {
            Refuse(std::string("no ") + DeviceWord() +
                   (absent ? " is connected" : " is ready (it is still busy or not answering)") +
                   "; plug it in, or see 'telix-tx512 --diagnose'");
            return;
        }
        again();
        return;
    }
    model::CLumitrekUSBDevice* device = Target();
    if (device == nullptr || !device->IsConnected()) {
        Refuse(std::string("the ") + DeviceWord() +
               " went away before it took everything; plug it in and run the command again");
        return;
    }
    if (!device->OperationsIdle()) {
        if (late) {
            Refuse(std::string("the ") + DeviceWord() +
                   " did not answer in time; it may hold part of the change, run the command "
                   "again");
        } else {
            again();
        }
        return;
    }
    if (outcome_) {
        if (outcome_->Stopped()) {
            Refuse(outcome_->macros > 0
                       ? "the profile's macros do not fit into the keyboard (" +
                             std::to_string(outcome_->macros) +
                             " events too many); its keys were left as they were"
                       : "the keyboard's key table could not be read; its keys were "
                         "not written");
            return;
        }
        if (outcome_->keys == model::ApplyOutcome::Keys::Failed) {
            Refuse(std::string("the ") + DeviceWord() +
                   " stopped answering while the profile was written; run the command again");
            return;
        }
    }
    Finish(kDone, doneText_, "");
}

void CommandExecutor::Act() {
    phase_ = Phase::Written;
    deadline_ = loop_.Now() + limits_.writtenMs;
    if (request_.verb == CliRequest::Verb::Status) {
        Finish(kDone, StatusReport(window_.Devices(), request_.json), "");
        return;
    }
    model::CLumitrekUSBDevice* device = Target();
    switch (request_.verb) {
        case CliRequest::Verb::ProfileList:
            Finish(kDone,
                   ProfileListReport(*device, cli::DeviceWord(request_.device), request_.json), "");
            return;
        case CliRequest::Verb::ProfileApply:
            ApplyProfile(*device);
            break;
        case CliRequest::Verb::LightMode:
            SetLighting(*device);
            break;
        default:
            TransferProfile(*device);
            break;
    }
    if (done_) Poll();
}

void CommandExecutor::MakeCurrent(model::CLumitrekUSBDevice& device) {
    DeviceList& devices = window_.Devices();
    if (devices.CurrentDevice() == &device) return;
    const int index = devices.IndexOf(&device);
    if (index >= 0) devices.ShowTab(index, true, true);
}

panels::CDeviceProfileUI* CommandExecutor::ProfilePanel(model::CLumitrekUSBDevice& device) {
    auto* panel = panels::ProfileOperations::PanelOf(device);
    if (panel == nullptr) Refuse(std::string("the ") + DeviceWord() + " has no profiles");
    return panel;
}

void CommandExecutor::ApplyProfile(model::CLumitrekUSBDevice& device) {
    auto* panel = ProfilePanel(device);
    if (panel == nullptr) return;
    const Lookup found = FindProfile(panel->ProfileNames(), request_.profile);
    if (found.index < 0) {
        Refuse(found.error);
        return;
    }
    MakeCurrent(device);
    std::weak_ptr<CommandExecutor*> alive = alive_;
    window_.Panels().SetApplyObserver([alive](const model::ApplyOutcome& outcome) {
        if (const auto self = alive.lock()) (*self)->outcome_ = outcome;
    });
    // What a pick in the combo leads to once its settling time is over.
    panel->SelectProfile(found.index, false);
    window_.Operations().Call(ops::kProfileSwitch);
}

void CommandExecutor::SetLighting(model::CLumitrekUSBDevice& device) {
    auto* panel = panels::LightingOperations::PanelOf(device);
    if (panel == nullptr) {
        Refuse(std::string("the ") + DeviceWord() + " has no lighting to set");
        return;
    }
    const Lookup found = FindMode(ModeNamesOf(device), request_.mode);
    if (found.index < 0) {
        Refuse(found.error);
        return;
    }
    MakeCurrent(device);
    // Everything is on the page before the one change is made: a single write.
    panel->SelectMode(found.index);
    if (request_.brightness) panel->SetBrightness(*request_.brightness);
    if (request_.speed) panel->SetSpeed(*request_.speed);
    if (request_.colour) {
        const std::uint32_t rgb = *request_.colour;
        panel->ShowColour(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                          static_cast<std::uint8_t>(rgb));
        panel->SetMultiColour(false);
    }
    window_.Operations().Call(ops::kLightApplyShown);
}

void CommandExecutor::TransferProfile(model::CLumitrekUSBDevice& device) {
    auto* panel = ProfilePanel(device);
    if (panel == nullptr) return;
    std::string unclear;
    const std::filesystem::path file = CommandFile(request_.file, workingDir_, unclear);
    if (file.empty()) {
        Refuse(unclear);
        return;
    }
    if (request_.verb == CliRequest::Verb::ProfileImport) {
        if (std::string why = ImportProblem(file); !why.empty()) {
            Refuse(why);
            return;
        }
        const int before = panel->ProfileCount();
        switch (panel->ImportProfile(file)) {
            case panels::CDeviceProfileUI::Transfer::Done: {
                const auto names = panel->ProfileNames();
                doneText_ = names.size() > static_cast<std::size_t>(before)
                                ? "imported as profile " + std::to_string(before) + " '" +
                                      platform::EscapedForTerminal(names[before]) + "'\n"
                                : "";
                return;
            }
            case panels::CDeviceProfileUI::Transfer::NotValid:
                Refuse("'" + file.string() + "' is not a profile file; nothing was imported");
                return;
            case panels::CDeviceProfileUI::Transfer::Failed:
                Refuse("the profile in '" + file.string() +
                       "' could not be read or stored; nothing was imported");
                return;
        }
        return;
    }
    const Lookup found = FindProfile(panel->ProfileNames(), request_.profile);
    if (found.index < 0) {
        Refuse(found.error);
        return;
    }
    if (std::string why = ExportProblem(file); !why.empty()) {
        Refuse(why);
        return;
    }
    // The file holds what the device last saved: the shown profile is saved first.
    if (found.index == panel->GetSelectedIndex()) device.SaveProfile();
    if (panel->ExportProfileAt(found.index, file) != panels::CDeviceProfileUI::Transfer::Done) {
        Refuse("could not write '" + file.string() + "'");
        return;
    }
}

void CommandExecutor::Refuse(const std::string& why) {
    Finish(kRefused, "", "telix-tx512: " + why + "\n");
}

void CommandExecutor::Finish(int code, std::string out, std::string err) {
    loop_.KillTimers(this);
    window_.Panels().SetApplyObserver({});
    Done done = std::move(done_);
    done_ = nullptr;
    if (done) done({code, std::move(out), std::move(err)});
}

}  // namespace app::cli
