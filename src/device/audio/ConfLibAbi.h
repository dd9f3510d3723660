// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The C interface of the headset audio chip's configuration library (libosConfLib.so),
// as the program calls it and as the project's stand-in implements it.
//
//  - ConfLibInit () -> 0 on success.
//  - CreateDeviceList () -> not used.
//  - GetDeviceCount (flow, out count) -> 0 on success; flow 0 playback, 1 capture.
//  - GetDeviceById (flow, index, out record) -> 0 on success.
//  - PropertyControl (record by value, property name as NUL-terminated UTF-16, address of
//    the value-buffer pointer, address of the extra-buffer pointer or null, direction
//    0 read / 1 write) -> 0 on success. A write carries one 32-bit integer or float in
//    the first four bytes of the value buffer (and 32-bit integers in the extra buffer);
//    a read leaves the value as NUL-terminated decimal UTF-16 text in the value buffer.
//    Buffers are kConfLibBufferBytes long (kConfLibFeatureBufferBytes for
//    "GetSupportFeature"), zeroed before each call.
#include <cstddef>
#include <cstdint>

extern "C" {

struct ConfLibDeviceRecord {
    std::int32_t identity;  // the library's own
    std::int32_t type;      // below 1: no device
    std::int32_t reserved;
    std::int32_t state;  // 1: usable
};

using ConfLibInitFn = int (*)();
using CreateDeviceListFn = int (*)();
using GetDeviceCountFn = int (*)(int flow, int* count);
using GetDeviceByIdFn = int (*)(int flow, int index, ConfLibDeviceRecord* record);
using PropertyControlFn = int (*)(ConfLibDeviceRecord device, const char16_t* property,
                                  void** value, void** extra, int direction);
}

namespace device::audio {

inline constexpr std::size_t kConfLibBufferBytes = 1024;
inline constexpr std::size_t kConfLibFeatureBufferBytes = 2048;
inline constexpr int kFlowPlayback = 0;
inline constexpr int kFlowCapture = 1;
inline constexpr int kDirectionRead = 0;
inline constexpr int kDirectionWrite = 1;

}  // namespace device::audio
