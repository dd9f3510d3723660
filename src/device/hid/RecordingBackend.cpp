// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/RecordingBackend.h"

namespace device {

namespace {

class RecordingConnection : public HidConnection {
public:
    RecordingConnection(std::shared_ptr<HidConnection> inner,
                        std::shared_ptr<ExchangeRecord> record)
        : inner_(std::move(inner)), record_(std::move(record)) {}

    const HidConnectionInfo& Info() const override { return inner_->Info(); }
    int ReadableFd() const override { return inner_->ReadableFd(); }

    HidReadStatus TryRead(std::span<uint8_t> buffer, size_t& length) override {
        const HidReadStatus status = inner_->TryRead(buffer, length);
        if (status == HidReadStatus::GotReport) record_->Add(false, buffer.first(length));
        return status;
    }
    bool Write(std::span<const uint8_t> report) override {
        record_->Add(true, report);
        return inner_->Write(report);
    }
    bool SetOutput(std::span<const uint8_t> report) override {
        record_->Add(true, report);
        return inner_->SetOutput(report);
    }
    bool SetFeature(std::span<const uint8_t> report) override {
        record_->Add(true, report);
        return inner_->SetFeature(report);
    }
    bool GetFeature(std::span<uint8_t> report, size_t& length) override {
        return inner_->GetFeature(report, length);
    }

private:
    std::shared_ptr<HidConnection> inner_;
    std::shared_ptr<ExchangeRecord> record_;
};

}  // namespace

ExchangeRecord::ExchangeRecord(std::uint8_t commandReportId, std::size_t maxEntries)
    : commandReportId_(commandReportId), maxEntries_(maxEntries) {}

void ExchangeRecord::Add(bool out, std::span<const std::uint8_t> report) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    if (!out && (report.size() != 64 || report[0] != commandReportId_)) {
        ++leftOut_;
        return;
    }
    if (entries_.size() >= maxEntries_) {
        ++overflow_;
        return;
    }
    const double ms = std::chrono::duration<double, std::milli>(now - start_).count();
    entries_.push_back({ms, out, {report.begin(), report.end()}});
}

std::vector<ExchangeRecord::Entry> ExchangeRecord::Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::size_t ExchangeRecord::LeftOut() const {
    std::lock_guard lock(mutex_);
    return leftOut_;
}

std::size_t ExchangeRecord::Overflow() const {
    std::lock_guard lock(mutex_);
    return overflow_;
}

RecordingBackend::RecordingBackend(std::shared_ptr<HidBackend> inner, std::string path,
                                   std::shared_ptr<ExchangeRecord> record)
    : inner_(std::move(inner)), path_(std::move(path)), record_(std::move(record)) {}

bool RecordingBackend::Enumerate(std::vector<std::string>& paths) {
    return inner_->Enumerate(paths);
}

std::shared_ptr<HidConnection> RecordingBackend::Open(const std::string& path,
                                                      const HidOpenMode& mode) {
    auto connection = inner_->Open(path, mode);
    if (!connection || path != path_) return connection;
    return std::make_shared<RecordingConnection>(std::move(connection), record_);
}

bool RecordingBackend::IsPresent(const std::string& path) {
    return inner_->IsPresent(path);
}

std::unique_ptr<HidChangeMonitor> RecordingBackend::WatchChanges() {
    return inner_->WatchChanges();
}

}  // namespace device
