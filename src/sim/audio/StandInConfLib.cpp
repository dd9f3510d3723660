// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-in audio configuration library (its data: StandInData.h; docs/automation.md
// shows how a script reads the record). Every call is appended to the file named by
// TX512_CONFLIB_RECORD, one line each:
//   ConfLibInit -> R
//   CreateDeviceList -> R
//   GetDeviceCount FLOW -> R N
//   GetDeviceById FLOW INDEX -> R TYPE STATE
//   PropertyControl FLOW read NAME [extra=A,B,C] -> R [TEXT]
//   PropertyControl FLOW write NAME VALUE [extra=A,B,C] -> R
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "device/audio/ConfLibAbi.h"
#include "sim/audio/StandInData.h"

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr std::size_t kTextUnits = device::audio::kConfLibBufferBytes / sizeof(char16_t);
constexpr int kIdentityPerFlow = 1000;

// Never destroyed: a call its host gave up on (one declared to hang) may still be inside
// the library while the process ends and runs the destructors of globals.
std::mutex gLock;
standin::Data& gData = *new standin::Data(standin::BuiltInData());

// Levels travel as floats, everything else as integers.
const std::set<std::string>& kFloatProperties =
    *new std::set<std::string>{"VolumeScalarControl", "AAVolumeScalarControl"};

void Record(const std::string& line) {
    const char* path = std::getenv("TX512_CONFLIB_RECORD");
    if (path == nullptr || *path == '\0') return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

std::string Ascii(const char16_t* text) {
    std::string out;
    for (std::size_t i = 0; text != nullptr && text[i] != 0 && i < 256; ++i)
        out.push_back(text[i] < 0x80 ? static_cast<char>(text[i]) : '?');
    return out;
}

std::string Extra(void** extra) {
    if (extra == nullptr || *extra == nullptr) return "";
    std::int32_t v[3];
    std::memcpy(v, *extra, sizeof v);
    return " extra=" + std::to_string(v[0]) + "," + std::to_string(v[1]) + "," +
           std::to_string(v[2]);
}

std::string WrittenValue(const std::string& name, const void* buffer) {
    if (kFloatProperties.count(name) != 0) {
        float f = 0;
        std::memcpy(&f, buffer, sizeof f);
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(f));
        return text;
    }
    std::int32_t i = 0;
    std::memcpy(&i, buffer, sizeof i);
    return std::to_string(i);
}

void PutText(void* buffer, const std::string& text) {
    auto* out = static_cast<char16_t*>(buffer);
    const std::size_t n = std::min(text.size(), kTextUnits - 1);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
    out[n] = 0;
}

int CountOf(int flow) {
    const auto declared = gData.counts.find(flow);
    if (declared != gData.counts.end()) return declared->second;
    int n = 0;
    for (const auto& d : gData.devices) n += d.flow == flow ? 1 : 0;
    return n;
}

}  // namespace

STANDIN_EXPORT int ConfLibInit() {
    std::lock_guard lock(gLock);
    const char* path = std::getenv("TX512_CONFLIB_DATA");
    gData = path != nullptr && *path != '\0' ? standin::ReadData(path) : standin::BuiltInData();
    Record("ConfLibInit -> " + std::to_string(gData.initResult));
    return gData.initResult;
}

STANDIN_EXPORT int CreateDeviceList() {
    std::lock_guard lock(gLock);
    Record("CreateDeviceList -> 0");
    return 0;
}

STANDIN_EXPORT int GetDeviceCount(int flow, int* count) {
    std::lock_guard lock(gLock);
    const int n = CountOf(flow);
    if (count != nullptr) *count = n;
    Record(std::string("GetDeviceCount ") + standin::FlowName(flow) + " -> 0 " + std::to_string(n));
    return 0;
}

STANDIN_EXPORT int GetDeviceById(int flow, int index, ConfLibDeviceRecord* record) {
    std::lock_guard lock(gLock);
    int seen = 0;
    for (const auto& d : gData.devices) {
        if (d.flow != flow) continue;
        if (seen++ != index) continue;
        if (record != nullptr) *record = {flow * kIdentityPerFlow + index, d.type, 0, d.state};
        Record(std::string("GetDeviceById ") + standin::FlowName(flow) + " " +
               std::to_string(index) + " -> 0 " + std::to_string(d.type) + " " +
               std::to_string(d.state));
        return 0;
    }
    Record(std::string("GetDeviceById ") + standin::FlowName(flow) + " " + std::to_string(index) +
           " -> 1");
    return 1;
}

STANDIN_EXPORT int PropertyControl(ConfLibDeviceRecord device, const char16_t* property,
                                   void** value, void** extra, int direction) {
    std::unique_lock lock(gLock);
    const int flow = device.identity / kIdentityPerFlow;
    const std::string name = Ascii(property);
    const standin::Key key{flow, name};
    const std::string head = std::string("PropertyControl ") + standin::FlowName(flow) +
                             (direction == 1 ? " write " : " read ") + name;
    const auto hang = gData.hangs.find(key);
    if (hang != gData.hangs.end()) {
        const int ms = hang->second;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        lock.lock();
    }
    if (value == nullptr || *value == nullptr) {
        Record(head + " -> 2");
        return 2;
    }
    if (direction == 1) {
        const std::string text = WrittenValue(name, *value);
        const int result = gData.failing.count(key) != 0 ? 1 : 0;
        if (result == 0) gData.values[key] = text;
        Record(head + " " + text + Extra(extra) + " -> " + std::to_string(result));
        return result;
    }
    if (gData.failing.count(key) != 0) {
        Record(head + Extra(extra) + " -> 1");
        return 1;
    }
    if (gData.unterminated.count(key) != 0) {
        auto* out = static_cast<char16_t*>(*value);
        for (std::size_t i = 0; i < kTextUnits; ++i) out[i] = u'7';
        Record(head + Extra(extra) + " -> 0 (unterminated)");
        return 0;
    }
    const auto known = gData.values.find(key);
    if (known == gData.values.end()) {
        Record(head + Extra(extra) + " -> 1");
        return 1;
    }
    PutText(*value, known->second);
    Record(head + Extra(extra) + " -> 0 " + known->second);
    return 0;
}
