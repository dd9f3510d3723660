// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scanner/DeviceScanner.h"

#include <poll.h>

#include <algorithm>

#include "platform/Trace.h"

namespace device {

DeviceScanner::DeviceScanner(SlotList& slots, ScannerClient& client, std::shared_ptr<HidBackend> backend,
                             ScannerOptions options)
    : slots_(slots),
      client_(client),
      backend_(backend ? std::move(backend) : HidBackend::Default()),
      options_(options),
      probe_(backend_) {}

DeviceScanner::~DeviceScanner() { Stop(); }

void DeviceScanner::Start() {
    thread_.Start([this](platform::Event& stop) { Run(stop); });
}

platform::WorkerThread::StopResult DeviceScanner::Stop(int waitMs) {
    if (!thread_.Running()) return platform::WorkerThread::StopResult::Error;
    return thread_.Stop(waitMs);
}

ScannerStats DeviceScanner::Stats() const {
    return {passes_.load(), enumerations_.load(), failedEnumerations_.load(), presenceTests_.load(), probes_.load()};
}

void DeviceScanner::Run(platform::Event& stop) {
    for (;;) {
        if (stop.Wait(1)) {
            platform::Trace("抓取设备线程设定退出\n");
            return;
        }
        RunPass(&stop);
        WaitForNews(stop);
    }
}

int DeviceScanner::NextWaitMs() const {
    // The monitor tells of every arrival and removal, so with nothing left to retry a
    // pass has nothing to find until it speaks. Without one, or with a collection that
    // did not open yet (its permissions follow the node a moment later), look again
    // every pass interval.
    const bool quiet = monitor_ && !dirty_ && retry_.empty();
    return quiet ? options_.quietIntervalMs : options_.passIntervalMs;
}

void DeviceScanner::WaitForNews(platform::Event& stop) {
    // Wakes early for a stop or for hot-plug news, so an arrival is seen at once rather
    // than at the next pass.
    pollfd fds[2] = {{stop.fd(), POLLIN, 0}, {monitor_ ? monitor_->fd() : -1, POLLIN, 0}};
    ::poll(fds, 2, NextWaitMs());
}

void DeviceScanner::RunPass(platform::Event* stop) {
    ++passes_;
    if (!monitorTried_) {
        monitorTried_ = true;
        monitor_ = backend_->WatchChanges();
    }
    if (!monitor_) {
        dirty_ = true;  // nobody tells us about changes: look every pass
    } else if (monitor_->TakeChanges()) {
        dirty_ = true;
    }
    if (!slots_.AllSlotsTaken()) Arrivals(stop);
    if (firstScan_) {
        firstScan_ = false;
        client_.PostFirstScanDone();
    }
    Removals(stop);
}

void DeviceScanner::Arrivals(platform::Event* stop) {
    if (dirty_) {
        ++enumerations_;
        if (!probe_.EnumerateHidPaths()) {
            // A failed listing is tried again next pass; the slots keep what they have.
            ++failedEnumerations_;
            platform::Trace("HID enumeration failed\n");
            return;
        }
        dirty_ = false;
        retry_.clear();
        taken_.clear();
        while (auto path = probe_.NextPath()) {
            if (stop && stop->IsSet()) {
                dirty_ = true;  // an unfinished listing: finish it next time
                break;
            }
            const Probe probe = TryClaim(*path);
            if (probe == Probe::OpenFailed) retry_.push_back(*path);
            if (probe == Probe::Taken) taken_.push_back(*path);
        }
        probe_.FreePathList();
        return;
    }
    // Nothing changed on the bus: only the wanted collections that did not open.
    std::vector<std::string> again;
    for (const auto& path : retry_) {
        if (stop && stop->IsSet()) {
            again.push_back(path);
            continue;
        }
        if (TryClaim(path) == Probe::OpenFailed && backend_->IsPresent(path)) again.push_back(path);
    }
    retry_ = std::move(again);
}

DeviceScanner::Probe DeviceScanner::TryClaim(const std::string& path) {
    ScanCandidate candidate;
    candidate.vendorId = HidDevice::ParseVendorId(path);
    candidate.productId = HidDevice::ParseProductId(path);
    candidate.collectionNumber = HidDevice::ParseCollectionNumber(path);
    candidate.interfaceNumber = HidDevice::ParseInterfaceNumber(path);
    if (!slots_.SlotAvailable(candidate)) return RowWants(candidate) ? Probe::Taken : Probe::NotWanted;
    ++probes_;
    if (!probe_.Open(path, true, false, true, false)) return Probe::OpenFailed;
    // The cheap check used the path; the claim uses what the collection says of itself.
    candidate.vendorId = probe_.Attributes().vendorId;
    candidate.productId = probe_.Attributes().productId;
    candidate.usagePage = probe_.Caps().usagePage;
    candidate.usage = probe_.Caps().usage;
    candidate.path = path;
    probe_.Close();
    auto slot = slots_.ClaimSlot(candidate);
    if (!slot) return Probe::Unclaimed;
    client_.SendScannerMessage(kDeviceArrivedMessage, *slot);
    return Probe::Claimed;
}

void DeviceScanner::Removals(platform::Event* stop) {
    for (size_t i = 0; i < slots_.Size(); ++i) {
        if (stop && stop->IsSet()) return;
        const SupportedDeviceEntry slot = slots_.Slot(i);
        if (!slot.connected) continue;
        ++presenceTests_;
        if (backend_->IsPresent(slot.path)) continue;
        slots_.Release(i);
        client_.SendScannerMessage(kDeviceRemovedMessage, i);
        retry_.insert(retry_.end(), taken_.begin(), taken_.end());
        taken_.clear();
    }
}

bool DeviceScanner::RowWants(const ScanCandidate& candidate) const {
    for (size_t i = 0; i < slots_.Size(); ++i) {
        const SupportedDeviceEntry row = slots_.Slot(i);
        if (row.vendorId == candidate.vendorId && row.productId == candidate.productId &&
            row.interfaceNumber == candidate.interfaceNumber &&
            row.collectionNumber == candidate.collectionNumber)
            return true;
    }
    return false;
}

}  // namespace device
