// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/audio/HeadsetAudio.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace model::headset_audio {

namespace {

using device::audio::kFlowCapture;
using device::audio::kFlowPlayback;
using device::audio::PropertyValue;

constexpr std::int32_t kVoiceChangerFeature = 0x20000;
// The surround effect is addressed with the same extra record whether read or written.
constexpr const char* kSurroundProperty = "VirtualSurroundEffectControl";
const std::vector<std::int32_t> kSurroundExtra = {4, -1, 0};

std::string BandProperty(int band) {
    return "EQ_Slider" + std::to_string(band + 1);
}

// The first device of `flow` of `type` in state 1 (any state when `anyState`).
std::optional<ConfLibDeviceRecord> FirstOf(AudioBridge::Session& session, int flow, int type,
                                           bool anyState) {
    const int count = session.library.DeviceCount(flow);
    for (int i = 0; i < count; ++i) {
        const auto record = session.library.DeviceById(flow, i);
        if (record && record->type == type && (anyState || record->state == 1)) return record;
    }
    return std::nullopt;
}

// Fields 0, 4 and 6 of the device's feature list; false when it has fewer than seven.
bool ReadFeatures(AudioBridge::Session& session, AudioDevice& device) {
    if (!device.Present()) return true;
    const auto text = session.library.ReadText(device.record, "GetSupportFeature", {},
                                               device::audio::kConfLibFeatureBufferBytes);
    if (!text) return true;
    std::vector<std::string> fields(1);
    for (char c : *text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    if (fields.size() < 7) return false;
    const int picked[3] = {0, 4, 6};
    for (int i = 0; i < 3; ++i) {
        const auto value = device::audio::AudioLibrary::ParseDecimal(fields[picked[i]]);
        // A field that is no 32-bit whole number counts as no feature at all.
        const bool whole = value && *value >= INT32_MIN && *value <= INT32_MAX;
        device.features[i] = whole ? static_cast<std::int32_t>(*value) : 0;
    }
    return true;
}

struct Default {
    int flow;
    std::string property;
    std::vector<std::int32_t> extra;
};

// Read first; only a property the library cannot read is written (with 0).
void EnsureDefault(AudioBridge::Session& session, const Default& d) {
    if (session.Read(d.flow, d.property, d.extra)) return;
    session.Write(d.flow, d.property, PropertyValue::Int(0), d.extra);
}

// A level read back as a slider position: a library answering outside 0-1 is held to it.
int Percent(double fraction) {
    // Rounded: 0.37 is 36.99... in binary and must come back as the 37 it was written as.
    return static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100.0));
}

}  // namespace

StartUp Initialise(AudioBridge::Session& session) {
    StartUp start;
    start.initFailed = session.library.Init() != 0;
    session.library.CreateDeviceList();
    if (session.library.DeviceCount(kFlowPlayback) == 0) return start;
    start.devicesFound = true;
    start.featuresFailed = !SelectAudioDevices(session);
    ApplyAudioDefaults(session);
    start.state = ReadAudioState(session);
    return start;
}

bool SelectAudioDevices(AudioBridge::Session& session) {
    session.playback = {};
    session.capture = {};
    for (int type : {1, 12, 7, 4}) {
        if (auto record = FirstOf(session, kFlowPlayback, type, false)) {
            session.playback.record = *record;
            break;
        }
    }
    if (auto record = FirstOf(session, kFlowCapture, 2, true)) session.capture.record = *record;
    const bool capture = ReadFeatures(session, session.capture);
    const bool playback = ReadFeatures(session, session.playback);
    return capture && playback;
}

void ApplyAudioDefaults(AudioBridge::Session& session) {
    std::vector<Default> defaults = {
        {kFlowPlayback, kSurroundProperty, kSurroundExtra},
        {kFlowCapture, "Enable_ENC_LFX", {}},
        {kFlowCapture, "VolumeControl", {-1}},
        {kFlowPlayback, "Enable_EQ_GFX", {}},
    };
    for (int band = 0; band < kBandCount; ++band)
        defaults.push_back({kFlowPlayback, BandProperty(band), {}});
    defaults.insert(defaults.end(), {
                                        {kFlowPlayback, "Enable_RFX_GFX", {}},
                                        {kFlowPlayback, "RFX_ENVIRONMENT", {}},
                                        {kFlowPlayback, "RFX_ROOMSIZE", {}},
                                        {kFlowCapture, "MuteControl", {}},
                                        {kFlowCapture, "VolumeScalarControl", {-1}},
                                        {kFlowCapture, "AAVolumeControl", {0}},
                                        {kFlowCapture, "AAMuteControl", {}},
                                        {kFlowCapture, "AAVolumeScalarControl", {0}},
                                        {kFlowCapture, "Enable_MAGICVOICE", {}},
                                        {kFlowCapture, "MagicVoice_Selection", {}},
                                    });
    for (const Default& d : defaults) EnsureDefault(session, d);
}

AudioState ReadAudioState(AudioBridge::Session& session) {
    AudioState state;
    for (const char* name : {"GetMaxVol", "GetMinVol", "GetVolStep"})
        session.Read(kFlowCapture, name);
    session.Read(kFlowCapture, "VolumeControl", {-1});
    if (const auto muted = session.Read(kFlowCapture, "MuteControl")) state.micMuted = *muted != 0;
    if (const auto level = session.Read(kFlowCapture, "VolumeScalarControl", {-1}))
        state.micLevel = Percent(*level);
    if (session.Read(kFlowCapture, "GetAAMaxVol")) {
        session.Read(kFlowCapture, "GetAAMinVol");
        session.Read(kFlowCapture, "GetAAVolStep");
        session.Read(kFlowCapture, "AAVolumeControl", {0});
        if (const auto muted = session.Read(kFlowCapture, "AAMuteControl"))
            state.monitorMuted = *muted != 0;
        if (const auto level = session.Read(kFlowCapture, "AAVolumeScalarControl", {0}))
            state.monitorLevel = Percent(*level);
        for (int band = 0; band < kBandCount; ++band)
            session.Read(kFlowPlayback, BandProperty(band));
    }
    const auto enabled = session.Read(kFlowCapture, "Enable_MAGICVOICE");
    if (enabled && (session.capture.features[0] & kVoiceChangerFeature) != 0)
        state.voiceChanger = *enabled != 0;
    if (const auto selection = session.Read(kFlowCapture, "MagicVoice_Selection")) {
        if (*selection >= 0 && *selection <= 3 && *selection == static_cast<int>(*selection))
            state.voice = static_cast<int>(*selection) + 1;
    }
    return state;
}

bool SetLevel(AudioBridge::Session& session, bool monitor, int level) {
    const float fraction = static_cast<float>(level / 100.0);
    const std::vector<std::int32_t> extra = {monitor ? 0 : -1};
    if (!session.Write(kFlowCapture, monitor ? "AAVolumeScalarControl" : "VolumeScalarControl",
                       PropertyValue::Real(fraction), extra))
        return false;
    if (monitor)
        session.Read(kFlowCapture, "AAVolumeControl", {1});
    else
        session.Read(kFlowCapture, "VolumeControl", {-1});
    return true;
}

bool SetMute(AudioBridge::Session& session, bool monitor, bool muted) {
    return session.Write(kFlowCapture, monitor ? "AAMuteControl" : "MuteControl",
                         PropertyValue::Int(muted ? 1 : 0));
}

void WriteEqualiser(AudioBridge::Session& session, const Bands& bands) {
    session.Write(kFlowPlayback, "Enable_EQ_GFX", PropertyValue::Int(1));
    for (int band = 0; band < kBandCount; ++band)
        session.Write(kFlowPlayback, BandProperty(band), PropertyValue::Int(bands[band]));
}

void WriteEqBand(AudioBridge::Session& session, int band, std::int32_t value) {
    if (band < 0 || band >= kBandCount) return;
    session.Write(kFlowPlayback, BandProperty(band), PropertyValue::Int(value));
}

void SetVoiceChanger(AudioBridge::Session& session, bool on) {
    session.Write(kFlowCapture, "Enable_MAGICVOICE", PropertyValue::Int(on ? 1 : 0));
    if (on) session.Write(kFlowCapture, "Enable_MICECHO", PropertyValue::Int(0));
}

bool SetVirtualSurround(AudioBridge::Session& session, bool on) {
    return session.Write(kFlowPlayback, kSurroundProperty, PropertyValue::Int(on ? 1 : 0),
                         kSurroundExtra);
}

void SelectVoice(AudioBridge::Session& session, int voice) {
    session.Write(kFlowCapture, "MagicVoice_Selection", PropertyValue::Int(voice - 1));
}

}  // namespace model::headset_audio
