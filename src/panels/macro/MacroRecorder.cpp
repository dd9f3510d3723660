// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/macro/MacroRecorder.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "data/macro/InputTables.h"
#include "data/macro/MacroLibrary.h"
#include "panels/macro/CMacroControlUI.h"
#include "panels/macro/MacroEventRow.h"
#include "ui/CEditUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CWindowWnd.h"
#include "ui/HookRecords.h"

namespace panels {

namespace {

constexpr unsigned kSystemKeyDown = 260;
constexpr unsigned kExtraDown = 523;
constexpr unsigned kExtraUp = 524;

int VariantIndex(int variant) { return std::clamp(variant, 0, 3); }

}  // namespace

MacroRecorder::MacroRecorder(CMacroControlUI& panel, Clock clock)
    : panel_(panel), clock_(std::move(clock)) {}

void MacroRecorder::Start(int timing) {
    timing_ = timing;
    lastEvent_ = clock_();
    if (timing == kFixedDelay) {
        if (auto* edit = panel_.FixedDelayEdit()) {
            const unsigned long value = std::strtoul(edit->GetText().c_str(), nullptr, 10);
            if (value != panel_.FixedDelay()) {
                const auto capped = static_cast<uint16_t>(
                    std::min<unsigned long>(value, MacroLibrary::kMaxDelay));
                edit->SetText(std::to_string(capped));
                edit->SetCaretPos(static_cast<int>(edit->GetText().size()));
                panel_.SetFixedDelay(capped);
            }
        }
    }
    recording_ = true;
    panel_.SetEditingEnabled(false);
}

void MacroRecorder::Stop() {
    recording_ = false;
    panel_.SetEditingEnabled(true);
}

uint16_t MacroRecorder::NextDelay() {
    if (timing_ == kFixedDelay) return panel_.FixedDelay();
    if (timing_ == kNoDelay) return 0;
    const uint32_t now = clock_();
    const uint32_t elapsed = now - lastEvent_;
    lastEvent_ = now;
    return static_cast<uint16_t>(std::min<uint32_t>(elapsed, MacroLibrary::kMaxDelay));
}

void MacroRecorder::RecordKey(int variant, unsigned message, const ui::KeyHookRecord& record) {
    const bool down = message == ui::kKeyDownMessage || message == kSystemKeyDown;
    const LastKey key{record.scanCode, (record.flags & 1u) != 0};
    LastKey& last = lastKey_[VariantIndex(variant)];
    if (down) {
        if (key == last) return;  // a held key repeats: one press
        last = key;
    } else if (key == last) {
        last = {};
    }
    const int row = input::KeyRowOfScanCode(static_cast<int>(key.scanCode), key.extended);
    if (row < 0) return;
    const input::KeyRow& found = input::KeyRows()[row];
    Json::Value event(Json::objectValue);
    event["Action"] = down ? "down" : "up";
    event["Type"] = found.usage != 0 ? 10 : 9;
    event["Button"] = found.usage != 0 ? found.usage : found.modifierBit;
    Record(variant, event);
}

void MacroRecorder::RecordMouse(int variant, unsigned message,
                                const ui::MouseHookRecord& record) {
    int row = -1;
    const auto rows = input::MouseRows();
    if (message == kExtraDown || message == kExtraUp) {
        const unsigned which = record.mouseData >> 16;
        if (which == 2) row = message == kExtraDown ? 6 : 7;
        if (which == 1) row = message == kExtraDown ? 8 : 9;
    } else {
        for (int r = 0; r < 6; ++r)
            if (rows[r].message == static_cast<int>(message)) row = r;
    }
    if (row < 0) return;
    unsigned& last = lastMouse_[VariantIndex(variant)];
    if (message == last) return;
    last = message;
    // The click that stops the recording is not part of it.
    if ((message == 513 || message == 514) && OnStopButton(record)) return;
    Json::Value event(Json::objectValue);
    event["Action"] = (rows[row].typeByte & input::kPressBit) != 0 ? "down" : "up";
    event["Button"] = rows[row].button;
    event["Type"] = rows[row].typeByte & 0x7F;
    Record(variant, event);
}

bool MacroRecorder::OnStopButton(const ui::MouseHookRecord& record) const {
    ui::CControlUI* stop = panel_.StopButton();
    ui::CPaintManagerUI* manager = stop != nullptr ? stop->GetManager() : nullptr;
    if (manager == nullptr) return false;
    ui::Rect window{};
    if (ui::CWindowWnd* owner = ui::CWindowWnd::FromHandle(manager->GetPaintWindow()))
        window = owner->GetWindowRect();
    const ui::Rect pos = stop->GetPos();
    const ui::Rect onScreen{window.left + pos.left, window.top + pos.top, window.left + pos.right,
                            window.top + pos.bottom};
    return onScreen.Contains(ui::Point{record.x, record.y});
}

void MacroRecorder::Record(int variant, const Json::Value& recorded) {
    const int count = panel_.RowCount();
    const int selected = panel_.SelectedRow();
    if (variant == kReplace) {
        if (selected < 0) return;
        Json::Value event = panel_.RowEvent(selected);
        if (!event.isObject()) return;
        event["Button"] = recorded["Button"];
        event["Type"] = recorded["Type"];
        panel_.ReplaceRow(selected, event);
        return;
    }
    if ((variant == kBefore || variant == kAfter) && selected < 0) return;
    if (count >= kMaxRows) return;

    int at = count;
    if (variant == kBefore) at = selected;
    if (variant == kAfter) at = selected + 1;
    const uint16_t delay = NextDelay();
    const bool first = at == 0;
    const uint16_t own = first || timing_ != kFixedDelay ? 0 : panel_.FixedDelay();
    Json::Value event = recorded;
    event["Delay"] = std::to_string(own);
    panel_.InsertRow(at, event);
    // The row before the new one waits until this event.
    if (recordedBefore_ && !first) panel_.SetRowDelay(at - 1, delay);
    recordedBefore_ = true;

    if (variant == kAppend || variant == kAfter) panel_.SelectRowInPlace(at);
    if (variant == kBefore) panel_.SelectRowInPlace(at + 1);
    panel_.ScrollToSelectionLater(kScrollDelayMs);
}

}  // namespace panels
