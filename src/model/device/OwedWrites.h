#pragma once
// What of the program's profile the device may not have: the settings block or the key
// table, written (or being written) since the last write of that part the device took.
// A write dropped by an unplug, or run against a connection that was gone, leaves its
// part owed; so does one the device refused. A connection that finds a part owed writes
// it instead of taking the device's copy as current, so that a pulled cable never lets
// stale device settings (those of a profile since deleted, say) overwrite the profile.
//
// A part left owed when the program ends is still owed at the next start: attached to a
// file, the tracker keeps there which parts a write missed, and forgets the file once
// every part has reached the device. Only misses and their settling touch the file, not
// every write.
//
// UI thread only: writes are queued and completed there.
#include <cstdint>
#include <filesystem>
#include <utility>

namespace model {

class OwedWrites {
public:
    enum class Part { Settings, Keys };
    static constexpr const char* kFileName = "OwedWrites.ini";

    // Takes what `file` says is owed (a missing or unreadable file: nothing) and keeps
    // the file up to date from now on.
    void Attach(const std::filesystem::path& file);

    // A write of `part` is queued; the ticket goes back with its end.
    std::uint64_t Queued(Part part);
    // The write of `ticket` ended; `reached` when the device took it.
    void Ended(Part part, std::uint64_t ticket, bool reached);
    bool Owed(Part part) const;

private:
    struct Track {
        std::uint64_t queued = 0;   // the newest ticket given
        std::uint64_t reached = 0;  // the newest ticket the device took
        bool missed = false;        // a write ended without reaching it since then
    };
    Track& Of(Part part) { return part == Part::Settings ? settings_ : keys_; }
    const Track& Of(Part part) const { return part == Part::Settings ? settings_ : keys_; }
    void Persist();

    std::uint64_t next_ = 0;
    Track settings_;
    Track keys_;
    std::filesystem::path file_;
    std::pair<bool, bool> persisted_{false, false};  // what the file says: settings, keys
};

}  // namespace model
