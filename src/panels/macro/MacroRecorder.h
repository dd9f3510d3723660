// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording into the macro editor: keys and mouse buttons reported by the input hook
// become event rows, appended, inserted before or after the selected row, or replacing
// the selected row's key or button. A row's delay is the time from its event to the next
// one (measured, a fixed delay, or none), at most 65535 ms; a held key repeats into one
// press; at most kMaxRows rows are recorded.
//
// UI thread only.
#include <cstdint>
#include <functional>
#include <string>

#include <json/json.h>

namespace ui {
struct KeyHookRecord;
struct MouseHookRecord;
}  // namespace ui

namespace panels {

class CMacroControlUI;

class MacroRecorder {
public:
    enum Timing { kRecordedDelay = 1, kFixedDelay = 2, kNoDelay = 3 };
    enum Variant { kAppend = 0, kBefore = 1, kAfter = 2, kReplace = 3 };
    static constexpr int kMaxRows = 4000;
    static constexpr unsigned kScrollDelayMs = 50;
    // Milliseconds of a monotonic clock.
    using Clock = std::function<uint32_t()>;

    MacroRecorder(CMacroControlUI& panel, Clock clock);
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // Locks the editor for recording with `timing`; a fixed delay is read (and held to
    // 65535) from "macro_fixed_time_edit".
    void Start(int timing);
    void Stop();
    bool Recording() const { return recording_; }
    int Timing() const { return timing_; }

    // A key message (256/260 press, 257/261 release) or a mouse message (513 ... 524) of
    // the hook.
    void RecordKey(int variant, unsigned message, const ui::KeyHookRecord& record);
    void RecordMouse(int variant, unsigned message, const ui::MouseHookRecord& record);

private:
    struct LastKey {
        uint32_t scanCode = 0;
        bool extended = false;
        bool operator==(const LastKey&) const = default;
    };
    void Record(int variant, const Json::Value& event);
    uint16_t NextDelay();
    bool OnStopButton(const ui::MouseHookRecord& record) const;

    CMacroControlUI& panel_;
    Clock clock_;
    bool recording_ = false;
    int timing_ = kRecordedDelay;
    uint32_t lastEvent_ = 0;
    bool recordedBefore_ = false;
    // Each variant's handler filters its own repeats.
    LastKey lastKey_[4];
    unsigned lastMouse_[4] = {};
};

}  // namespace panels
