// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the headset asks of its audio library, call by call: finding its devices, the
// start-up defaults, reading the microphone, monitor and voice-changer state, and the
// writes of the voice and voice-changer panels. Each runs on the audio bridge's thread
// (AudioBridge::Run) and returns what the UI thread needs to know.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/audio/AudioBridge.h"

namespace model::headset_audio {

inline constexpr int kBandCount = 10;
using Bands = std::array<std::int32_t, kBandCount>;

// Read from the library; a member left empty was not read (or not usable).
struct AudioState {
    std::optional<bool> micMuted;
    std::optional<int> micLevel;  // 0-100
    std::optional<bool> monitorMuted;
    std::optional<int> monitorLevel;
    std::optional<bool> voiceChanger;
    std::optional<int> voice;  // 1-4
};

struct StartUp {
    bool initFailed = false;      // ConfLibInit answered nonzero
    bool featuresFailed = false;  // a feature list with fewer than seven fields
    bool devicesFound = false;    // a playback device exists
    AudioState state;
};

// ConfLibInit, the device list, the choice of devices, the defaults and the state.
StartUp Initialise(AudioBridge::Session& session);
// The devices to use and their features; false when a feature list was too short.
bool SelectAudioDevices(AudioBridge::Session& session);
void ApplyAudioDefaults(AudioBridge::Session& session);
AudioState ReadAudioState(AudioBridge::Session& session);

// The microphone (monitor = false) or the monitor: the level 0-100 as a fraction, then a
// read of the volume the library keeps. True when the level was taken.
bool SetLevel(AudioBridge::Session& session, bool monitor, int level);
bool SetMute(AudioBridge::Session& session, bool monitor, bool muted);
// The equaliser on, then the ten bands in order.
void WriteEqualiser(AudioBridge::Session& session, const Bands& bands);
// One band (0-9) alone.
void WriteEqBand(AudioBridge::Session& session, int band, std::int32_t value);
void SetVoiceChanger(AudioBridge::Session& session, bool on);
// The virtual surround effect of the playback device, with the extra argument its
// start-up default takes; true when the library took it.
bool SetVirtualSurround(AudioBridge::Session& session, bool on);
// Voice 1-4, written as 0-3.
void SelectVoice(AudioBridge::Session& session, int voice);

}  // namespace model::headset_audio
