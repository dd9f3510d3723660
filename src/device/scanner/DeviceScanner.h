// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hot-plug scanner: every pass claims the slots whose collection has appeared and
// frees those whose collection has gone, and tells the ScannerClient.
//
// Unlike a plain poll, it enumerates only on the first pass and when the backend's
// change monitor has news (or, with no monitor, every pass); between those it only
// retries collections that would fill a free slot but did not open (permissions not
// yet applied, say), and runs presence tests, which never open the device. With a monitor
// and no retry pending it sleeps until the monitor has news (a removal is news too).
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid/HidBackend.h"
#include "device/hid/HidDevice.h"
#include "device/scanner/ScannerClient.h"
#include "device/scanner/SlotList.h"
#include "platform/WorkerThread.h"

namespace device {

struct ScannerOptions {
    int passIntervalMs = 100;  // the longest wait between passes while something is pending
    // The longest wait while the change monitor has said nothing and nothing waits for a
    // retry: a safety net only, since the monitor wakes the scanner for every change.
    int quietIntervalMs = 5000;
};

struct ScannerStats {
    uint64_t passes = 0;
    uint64_t enumerations = 0;
    uint64_t failedEnumerations = 0;
    uint64_t presenceTests = 0;
    uint64_t probes = 0;  // collections opened to read their identity
};

class DeviceScanner {
public:
    // A null backend means HidBackend::Default().
    DeviceScanner(SlotList& slots, ScannerClient& client, std::shared_ptr<HidBackend> backend = nullptr,
                  ScannerOptions options = {});
    ~DeviceScanner();  // stops the thread
    DeviceScanner(const DeviceScanner&) = delete;
    DeviceScanner& operator=(const DeviceScanner&) = delete;

    void Start();
    platform::WorkerThread::StopResult Stop(int waitMs = 1000);
    bool Running() const { return thread_.Running(); }

    // One pass on the calling thread (the thread body runs the same). `stop`, when
    // given, cuts a pass short between collections.
    void RunPass(platform::Event* stop = nullptr);

    ScannerStats Stats() const;

private:
    // Taken: a row wants the collection but its slot is still held (by a path that may be
    // gone, seen only by this pass's removals).
    enum class Probe { NotWanted, Taken, Claimed, Unclaimed, OpenFailed };

    void Run(platform::Event& stop);
    void Arrivals(platform::Event* stop);
    void Removals(platform::Event* stop);
    Probe TryClaim(const std::string& path);
    // A row of the slot list has the candidate's vendor, product, interface and collection.
    bool RowWants(const ScanCandidate& candidate) const;
    void WaitForNews(platform::Event& stop);
    int NextWaitMs() const;

    SlotList& slots_;
    ScannerClient& client_;
    std::shared_ptr<HidBackend> backend_;
    ScannerOptions options_;
    HidDevice probe_;
    std::unique_ptr<HidChangeMonitor> monitor_;
    bool monitorTried_ = false;
    bool firstScan_ = true;
    bool dirty_ = true;
    std::vector<std::string> retry_;  // wanted collections that did not open
    // Collections listed while their slot was held: a device pulled and plugged in again
    // between two passes is listed before its old path is found gone, and nothing would
    // list it again. Retried once a removal frees a slot.
    std::vector<std::string> taken_;

    std::atomic<uint64_t> passes_{0}, enumerations_{0}, failedEnumerations_{0}, presenceTests_{0}, probes_{0};
    platform::WorkerThread thread_;
};

}  // namespace device
