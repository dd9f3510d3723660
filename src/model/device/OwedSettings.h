// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the device may lack the profile's settings block: the last write of it that
// ended did not reach the device (an unplug dropped it, it ran against a connection that
// was gone, or the device refused it). A connection that finds the block owed, and the
// device holding other settings, writes the profile's block instead of taking the
// device's as current: a pulled cable must not let stale settings (those of a profile
// since deleted, say) overwrite the profile the user has.
//
// Attached to a file, the tracker keeps there that the block is owed, so that this holds
// after a restart too, and removes the file once a write reached the device. Only a
// change of the answer touches the file, not every write.
//
// UI thread only: writes are queued and completed there.
#include <cstdint>
#include <filesystem>

namespace model {

class OwedSettings {
public:
    static constexpr const char* kFileName = "OwedSettings.ini";

    // Takes what `file` says (a missing or unreadable file: nothing owed) and keeps the
    // file up to date from now on.
    void Attach(const std::filesystem::path& file);

    // A write of the block is queued; the ticket goes back with its end.
    std::uint64_t Queued() { return ++next_; }
    // The newest ticket given (0 before any): a read of the device's block queued at
    // ticket t is stale once this has moved past t, since a write of the profile's
    // block, newer than what the read will find, is on its way.
    std::uint64_t LastQueued() const { return next_; }
    // The write of `ticket` ended; `reached` when the device took it. An end older than
    // one already told (a write that stood in for it) changes nothing.
    void Ended(std::uint64_t ticket, bool reached);
    // The device was found holding the profile's block.
    void Settle();
    bool Owed() const { return owed_; }

private:
    void Set(bool owed);

    std::uint64_t next_ = 0;
    std::uint64_t lastEnded_ = 0;
    bool owed_ = false;
    std::filesystem::path file_;
};

}  // namespace model
