// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HidDevice: one HID top-level collection, opened through a backend (hidraw or the
// virtual bus), with single reads and writes under a time limit that another thread can
// cut short.
//
// Byte contract (as hidapi states its own):
//  - Every report buffer starts with the report id in byte 0. A collection that does not
//    number its reports uses 0 there, and on reads byte 0 is then 0 as well.
//  - Every length counts that id byte: Caps().inputReportByteLength is the size of the
//    largest input report of the collection plus 1, and a read of a 63-byte report with
//    id 4 returns 64 bytes, {4, d0 .. d62}.
//  - ReadReport returns only reports of this collection: reports of the other
//    collections of the same interface are dropped. A report longer than the buffer is
//    cut to the buffer's size.
//  - WriteReport sends byte 0 as the report id and bytes 1.. as the data, `length`
//    bytes in all; it fails when length is 0 or longer than the collection's output
//    report byte length.
//  - Time limits are in milliseconds; kInfinite (a negative value) waits until a report
//    comes, the device goes, or the wait is cancelled. Failure is `false` with a count
//    of 0, whether from a time-out, a cancel, an unplug or an I/O error.
//
// Threads: one reader and one writer at a time (callers serialise). CancelPending,
// Close, Open and the destructor may be called from any other thread while a read or
// write waits: the wait ends with false at once, and Close returns only when the waiting
// call has left, so buffers owned here are never used after Close.
// The accessors (Caps, Attributes, data lists ...) describe the open collection and must
// not be used while another thread opens or closes the record.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid/HidBackend.h"
#include "device/hid/HidCollection.h"
#include "device/hid/HidPath.h"
#include "device/hid/HidReportDescriptor.h"
#include "device/hid/HidTypes.h"
#include "platform/Event.h"

namespace device {

class WritePump;

class HidDevice {
public:
    static constexpr int kInfinite = -1;
    static constexpr size_t kMaxPathLength = 259;  // longer paths are refused by Open

    // A null backend means HidBackend::Default() as it is at construction.
    explicit HidDevice(std::shared_ptr<HidBackend> backend = nullptr);
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Path list. EnumerateHidPaths resets the cursor and refills the list.
    bool EnumerateHidPaths();
    std::optional<std::string> NextPath();
    void FreePathList();
    size_t PathCount() const { return paths_.size(); }

    // Opens one collection. `overlapped` is recorded only: every wait here can be timed
    // and cancelled. `exclusive` keeps other writers out where the backend can.
    bool Open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive);
    void Close();
    bool IsOpen() const;

    bool ReadReport(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs,
                    platform::Event* cancel = nullptr);
    bool WriteReport(const uint8_t* buffer, size_t length, size_t* bytesWritten, int timeoutMs,
                     platform::Event* cancel = nullptr);
    // One output report over the control pipe (HIDIOCSOUTPUT on hidraw, a plain write
    // where the kernel lacks it), same byte contract as WriteReport: false when closed,
    // when the collection has no output report of id buffer[0] or the report is longer
    // than its output report byte length. Not bounded by a time limit: call it off the
    // UI thread.
    bool SetOutputReport(const uint8_t* buffer, size_t length);
    // Feature reports, same byte contract; GetFeatureReport wants the id in buffer[0].
    bool SetFeatureReport(const uint8_t* buffer, size_t length);
    bool GetFeatureReport(uint8_t* buffer, size_t length, size_t* bytesRead);

    // Ends a waiting read or write with false (the stop signal of the record).
    void CancelPending();
    bool ReadInProgress() const;
    bool WriteInProgress() const;

    const std::string& Path() const { return path_; }
    const HidAttributes& Attributes() const { return attributes_; }
    const HidCaps& Caps() const { return caps_; }
    // The parsed collection; nullptr while closed.
    const HidCollection* Collection() const;
    std::vector<uint8_t>& ReportBuffer(HidReportType type) { return reports_[Index(type)].buffer; }
    std::vector<HidData>& DataList(HidReportType type) { return reports_[Index(type)].data; }
    const std::vector<HidButtonCaps>& ButtonCaps(HidReportType type) const { return reports_[Index(type)].buttonCaps; }
    const std::vector<HidValueCaps>& ValueCaps(HidReportType type) const { return reports_[Index(type)].valueCaps; }
    uint32_t InterfaceNumber() const { return interfaceNumber_; }
    uint32_t CollectionNumber() const { return collectionNumber_; }
    bool OpenedForRead() const { return read_; }
    bool OpenedForWrite() const { return write_; }

    // Fills the entries whose report id equals report[0] from one report; entries of
    // other ids keep their contents. False when a value usage cannot be read (the
    // entries handled before it keep their new contents).
    // The data entries Open makes for one report type of a collection: one per button
    // capability, then one per value usage.
    static std::vector<HidData> MakeDataList(const HidCollection& collection, HidReportType type);

    static bool UnpackInputReport(std::vector<HidData>& dataList, const uint8_t* report,
                                  size_t reportLength, HidReportType type,
                                  const HidCollection& collection);

    static uint16_t ParseVendorId(std::string_view path) { return HidPath::VendorId(path); }
    static uint16_t ParseProductId(std::string_view path) { return HidPath::ProductId(path); }
    static uint16_t ParseInterfaceNumber(std::string_view path) { return HidPath::InterfaceNumber(path); }
    static uint16_t ParseCollectionNumber(std::string_view path) { return HidPath::CollectionNumber(path); }

private:
    struct ReportState {
        std::vector<uint8_t> buffer;
        std::vector<HidData> data;
        std::vector<HidButtonCaps> buttonCaps;
        std::vector<HidValueCaps> valueCaps;
    };
    static size_t Index(HidReportType type) { return static_cast<size_t>(type); }

    bool FillDeviceInformation(const HidConnection& connection);
    void ReleaseOpenState();  // caller holds mutex_ and no call is in flight
    void CloseLocked(std::unique_lock<std::mutex>& lock);
    // Registers a read or write; nullptr when the record is closed.
    std::shared_ptr<HidConnection> Begin(bool& flag, platform::Event& stop);
    void End(bool& flag);

    std::shared_ptr<HidBackend> backend_;
    std::vector<std::string> paths_;
    size_t cursor_ = 0;

    bool read_ = false, write_ = false, overlapped_ = false, exclusive_ = false;
    std::string path_;
    std::shared_ptr<HidConnection> connection_;
    std::shared_ptr<const HidReportDescriptor> descriptor_;
    const HidCollection* collection_ = nullptr;
    HidCaps caps_;
    HidAttributes attributes_;
    ReportState reports_[kHidReportTypeCount];
    uint32_t interfaceNumber_ = 0;
    uint32_t collectionNumber_ = 0;
    std::vector<uint8_t> readScratch_;  // one report of any collection of the interface
    std::unique_ptr<WritePump> pump_;

    mutable std::mutex mutex_;
    std::condition_variable idle_;
    bool readInProgress_ = false;
    bool writeInProgress_ = false;
    platform::Event readStop_{platform::Event::Mode::ManualReset};
    platform::Event writeStop_{platform::Event::Mode::ManualReset};
};

}  // namespace device
