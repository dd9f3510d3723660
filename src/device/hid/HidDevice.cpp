// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidDevice.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "device/hid/WritePump.h"

namespace device {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(bool forever, Clock::time_point deadline) {
    if (forever) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left) + 1;
}

bool TakeCancel(platform::Event* cancel) {
    if (!cancel || !cancel->IsSet()) return false;
    cancel->Wait(0);  // an auto-reset cancel is consumed by the call it ended
    return true;
}

}  // namespace

HidDevice::HidDevice(std::shared_ptr<HidBackend> backend)
    : backend_(backend ? std::move(backend) : HidBackend::Default()) {}

HidDevice::~HidDevice() {
    Close();
    FreePathList();
}

bool HidDevice::EnumerateHidPaths() {
    cursor_ = 0;
    paths_.clear();
    if (!backend_->Enumerate(paths_)) {
        paths_.clear();
        return false;
    }
    return true;
}

std::optional<std::string> HidDevice::NextPath() {
    if (cursor_ >= paths_.size()) return std::nullopt;
    return paths_[cursor_++];
}

void HidDevice::FreePathList() {
    paths_.clear();
    paths_.shrink_to_fit();
    cursor_ = 0;
}

bool HidDevice::IsOpen() const {
    std::lock_guard lock(mutex_);
    return connection_ != nullptr;
}

const HidCollection* HidDevice::Collection() const { return collection_; }

bool HidDevice::ReadInProgress() const {
    std::lock_guard lock(mutex_);
    return readInProgress_;
}

bool HidDevice::WriteInProgress() const {
    std::lock_guard lock(mutex_);
    return writeInProgress_;
}

void HidDevice::CancelPending() {
    std::lock_guard lock(mutex_);
    if (readInProgress_) readStop_.Set();
    if (writeInProgress_) writeStop_.Set();
}

void HidDevice::CloseLocked(std::unique_lock<std::mutex>& lock) {
    if (readInProgress_) readStop_.Set();
    if (writeInProgress_) writeStop_.Set();
    // The waiting calls notice the stop signal within one poll wake-up.
    idle_.wait(lock, [this] { return !readInProgress_ && !writeInProgress_; });
    ReleaseOpenState();
}

void HidDevice::Close() {
    std::unique_lock lock(mutex_);
    CloseLocked(lock);
}

void HidDevice::ReleaseOpenState() {
    pump_.reset();
    connection_.reset();
    collection_ = nullptr;
    descriptor_.reset();
    caps_ = HidCaps{};
    attributes_ = HidAttributes{};
    for (auto& r : reports_) r = ReportState{};
    readScratch_.clear();
    readScratch_.shrink_to_fit();
    interfaceNumber_ = 0;
    collectionNumber_ = 0;
}

bool HidDevice::Open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive) {
    std::unique_lock lock(mutex_);
    read_ = read;
    write_ = write;
    overlapped_ = overlapped;
    exclusive_ = exclusive;
    CloseLocked(lock);
    // Refused rather than cut: a shortened path would name another collection.
    if (path.size() > kMaxPathLength) {
        path_.clear();
        return false;
    }
    path_ = path;
    auto connection = backend_->Open(path, HidOpenMode{read, write, exclusive});
    if (!connection || !FillDeviceInformation(*connection)) {
        ReleaseOpenState();
        return false;
    }
    connection_ = std::move(connection);
    if (write) pump_ = std::make_unique<WritePump>(connection_);
    return true;
}

std::vector<HidData> HidDevice::MakeDataList(const HidCollection& collection, HidReportType type) {
    std::vector<HidData> list;
    for (const auto& b : collection.ButtonCaps(type)) {
        HidData entry;
        entry.isButton = true;
        entry.usagePage = b.usagePage;
        entry.reportId = b.reportId;
        entry.button.usageMin = b.usageMin;
        entry.button.usageMax = b.usageMax;
        entry.button.maxUsageLength = collection.MaxUsageListLength(type, b.usagePage);
        entry.button.usages.assign(entry.button.maxUsageLength, 0);
        list.push_back(std::move(entry));
    }
    for (const auto& v : collection.ValueCaps(type)) {
        for (uint32_t usage = v.usageMin; usage <= v.usageMax; ++usage) {
            HidData entry;
            entry.usagePage = v.usagePage;
            entry.reportId = v.reportId;
            entry.value.usage = static_cast<uint16_t>(usage);
            list.push_back(std::move(entry));
            if (!v.isRange) break;
        }
    }
    return list;
}

bool HidDevice::FillDeviceInformation(const HidConnection& connection) {
    const auto& info = connection.Info();
    auto parsed = HidReportDescriptor::Parse(info.reportDescriptor);
    if (!parsed) return false;
    descriptor_ = std::make_shared<const HidReportDescriptor>(std::move(*parsed));
    const auto& collections = descriptor_->Collections();
    // A path without "&col" names the interface's only (first) collection.
    const uint16_t number = HidPath::CollectionNumber(path_);
    const size_t index = number == 0 ? 0 : size_t(number) - 1;
    if (index >= collections.size()) return false;
    collection_ = &collections[index];
    attributes_ = info.attributes;
    caps_ = collection_->Caps();

    for (HidReportType type : {HidReportType::Input, HidReportType::Output, HidReportType::Feature}) {
        ReportState& state = reports_[Index(type)];
        state.buffer.assign(collection_->ReportByteLength(type), 0);
        state.buttonCaps = collection_->ButtonCaps(type);
        state.valueCaps = collection_->ValueCaps(type);
        state.data = MakeDataList(*collection_, type);
    }
    interfaceNumber_ = HidPath::InterfaceNumber(path_);
    collectionNumber_ = HidPath::CollectionNumber(path_);
    readScratch_.assign(std::max<size_t>(descriptor_->MaxInputReportBytes(), 1), 0);
    return true;
}

std::shared_ptr<HidConnection> HidDevice::Begin(bool& flag, platform::Event& stop) {
    std::lock_guard lock(mutex_);
    if (!connection_ || flag) return nullptr;
    flag = true;
    stop.Reset();
    return connection_;
}

void HidDevice::End(bool& flag) {
    std::lock_guard lock(mutex_);
    flag = false;
    idle_.notify_all();
}

bool HidDevice::ReadReport(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs,
                           platform::Event* cancel) {
    if (bytesRead) *bytesRead = 0;
    if (!buffer || length == 0) return false;
    auto connection = Begin(readInProgress_, readStop_);
    if (!connection) return false;
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    bool ok = false;
    bool hungUp = false;
    const int fd = connection->ReadableFd();
    while (fd >= 0) {
        if (readStop_.IsSet() || TakeCancel(cancel)) break;
        size_t n = 0;
        HidReadStatus status = connection->TryRead(readScratch_, n);
        if (status == HidReadStatus::Gone) break;
        if (status == HidReadStatus::GotReport) {
            // Reports of the interface's other collections are not ours to return.
            if (n == 0 || !collection_->OwnsReportId(HidReportType::Input, readScratch_[0])) continue;
            n = std::min(n, length);
            std::memcpy(buffer, readScratch_.data(), n);
            if (bytesRead) *bytesRead = n;
            ok = true;
            break;
        }
        if (hungUp) break;  // the device went and its queue is empty
        const int left = MsLeft(forever, deadline);
        if (left == 0) break;
        pollfd fds[3] = {{readStop_.fd(), POLLIN, 0}, {fd, POLLIN, 0}, {cancel ? cancel->fd() : -1, POLLIN, 0}};
        int r = ::poll(fds, 3, left);
        if (r < 0 && errno != EINTR) break;
        hungUp = r > 0 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }
    End(readInProgress_);
    return ok;
}

bool HidDevice::WriteReport(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                            int timeoutMs, platform::Event* cancel) {
    if (bytesWritten) *bytesWritten = 0;
    if (!buffer || length == 0) return false;
    auto connection = Begin(writeInProgress_, writeStop_);
    if (!connection) return false;
    bool ok = false;
    if (pump_ && length <= caps_.outputReportByteLength &&
        collection_->OwnsReportId(HidReportType::Output, buffer[0])) {
        auto result = pump_->Write({buffer, length}, timeoutMs, writeStop_, cancel);
        ok = result == WritePump::Result::Written;
        if (ok && bytesWritten) *bytesWritten = length;
    }
    End(writeInProgress_);
    return ok;
}

bool HidDevice::SetOutputReport(const uint8_t* buffer, size_t length) {
    if (!buffer || length == 0) return false;
    std::shared_ptr<HidConnection> connection;
    {
        std::lock_guard lock(mutex_);
        if (!connection_ || length > caps_.outputReportByteLength ||
            !collection_->OwnsReportId(HidReportType::Output, buffer[0]))
            return false;
        connection = connection_;
    }
    return connection->SetOutput({buffer, length});
}

bool HidDevice::SetFeatureReport(const uint8_t* buffer, size_t length) {
    if (!buffer || length == 0) return false;
    std::shared_ptr<HidConnection> connection;
    {
        std::lock_guard lock(mutex_);
        if (!connection_ || !collection_->OwnsReportId(HidReportType::Feature, buffer[0])) return false;
        connection = connection_;
    }
    return connection->SetFeature({buffer, length});
}

bool HidDevice::GetFeatureReport(uint8_t* buffer, size_t length, size_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (!buffer || length == 0) return false;
    std::shared_ptr<HidConnection> connection;
    {
        std::lock_guard lock(mutex_);
        if (!connection_ || !collection_->OwnsReportId(HidReportType::Feature, buffer[0])) return false;
        connection = connection_;
    }
    size_t n = 0;
    if (!connection->GetFeature({buffer, length}, n)) return false;
    if (bytesRead) *bytesRead = n;
    return true;
}

bool HidDevice::UnpackInputReport(std::vector<HidData>& dataList, const uint8_t* report,
                                  size_t reportLength, HidReportType type,
                                  const HidCollection& collection) {
    if (!report || reportLength == 0) return true;
    const std::span<const uint8_t> bytes(report, reportLength);
    std::vector<uint16_t> on;
    for (auto& entry : dataList) {
        if (entry.reportId != report[0]) continue;
        if (entry.isButton) {
            entry.status = collection.GetUsages(type, entry.usagePage, bytes, on);
            auto& usages = entry.button.usages;
            if (on.size() > usages.size()) {
                on.resize(usages.size());
                if (entry.status == HidStatus::Success) entry.status = HidStatus::BufferTooSmall;
            }
            size_t kept = 0;
            for (uint16_t u : on) {
                if (u >= entry.button.usageMin && u <= entry.button.usageMax) usages[kept++] = u;
            }
            std::fill(usages.begin() + static_cast<std::ptrdiff_t>(kept), usages.end(), uint16_t{0});
        } else {
            uint32_t raw = 0;
            if (collection.GetUsageValue(type, entry.usagePage, entry.value.usage, bytes, raw) !=
                HidStatus::Success) {
                return false;
            }
            entry.value.rawValue = raw;
            int32_t scaled = 0;
            entry.status = collection.GetScaledUsageValue(type, entry.usagePage, entry.value.usage, bytes, scaled);
            entry.value.scaledValue = scaled;
        }
        entry.isSet = 1;
    }
    return true;
}

}  // namespace device
