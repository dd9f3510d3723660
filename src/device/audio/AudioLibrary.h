// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headset's audio configuration library, loaded at run time. Only a library at an
// absolute path is loaded (never one found through the current folder or a search path a
// user could plant a file in), and only when all five entry points are there.
//
// Every call guards the program against the library: a device count is capped, text read
// back is taken only when it ends inside its buffer and is a plain decimal number, and
// the buffers handed over have the size the interface promises, with a guard after them
// that a read never looks past.
//
// Calls block for as long as the library takes: make them off the UI thread
// (model::AudioBridge does). With a CallWatch, loading and every call are timed on their
// own, and once one has outlasted the watch's limit nothing more is called: each later
// call fails at once as the library's own failure would. Not thread-safe; one caller at
// a time.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/audio/CallWatch.h"
#include "device/audio/ConfLibAbi.h"

namespace device::audio {

// One value written to a property.
struct PropertyValue {
    enum class Kind { Integer, Float } kind = Kind::Integer;
    std::int32_t integer = 0;
    float real = 0.0f;
    static PropertyValue Int(std::int32_t v) { return {Kind::Integer, v, 0.0f}; }
    static PropertyValue Real(float v) { return {Kind::Float, 0, v}; }
};

class AudioLibrary {
public:
    // More devices than this are not looked at, whatever count the library reports.
    static constexpr int kMaxDevices = 64;

    // ProgramDir()/SDK/<processor>/libosConfLib.so
    static std::filesystem::path DefaultPath();
    // ProgramDir()/simulation/SDK/<processor>/libosConfLib.so: where a build keeps the
    // stand-in, apart from the real library's place, so that only a simulated run uses it.
    static std::filesystem::path SimulatedPath();
    // Null when the path is not absolute, the file cannot be loaded, or an entry point is
    // missing, or when loading outlasted the watch's limit.
    static std::unique_ptr<AudioLibrary> Load(const std::filesystem::path& path,
                                              std::shared_ptr<CallWatch> watch = nullptr);
    ~AudioLibrary();
    AudioLibrary(const AudioLibrary&) = delete;
    AudioLibrary& operator=(const AudioLibrary&) = delete;

    // Nonzero when the library failed (or was not called, being hung).
    int Init();
    void CreateDeviceList();
    // 0..kMaxDevices; 0 when the call fails.
    int DeviceCount(int flow);
    std::optional<ConfLibDeviceRecord> DeviceById(int flow, int index);

    // `extra` empty: no extra buffer is passed. True when the library answered 0.
    bool Write(const ConfLibDeviceRecord& device, std::string_view property,
               const PropertyValue& value, const std::vector<std::int32_t>& extra = {});
    // The text the library left, or nothing when the call failed or the text does not
    // end inside the buffer.
    std::optional<std::string> ReadText(const ConfLibDeviceRecord& device,
                                        std::string_view property,
                                        const std::vector<std::int32_t>& extra = {},
                                        std::size_t bufferBytes = kConfLibBufferBytes);
    // ReadText as a decimal number; nothing for text that is not one.
    std::optional<double> ReadNumber(const ConfLibDeviceRecord& device, std::string_view property,
                                     const std::vector<std::int32_t>& extra = {});

    // "12", "-3", " 0.37 ": the number; anything else (empty, letters, "1e5", "0x10",
    // "nan", several numbers) nothing.
    static std::optional<double> ParseDecimal(std::string_view text);

private:
    AudioLibrary() = default;
    int Call(const ConfLibDeviceRecord& device, std::string_view property,
             std::vector<char16_t>& value, const std::vector<std::int32_t>& extra, int direction);

    std::shared_ptr<CallWatch> watch_;
    void* handle_ = nullptr;
    ConfLibInitFn init_ = nullptr;
    CreateDeviceListFn createList_ = nullptr;
    GetDeviceCountFn count_ = nullptr;
    GetDeviceByIdFn byId_ = nullptr;
    PropertyControlFn property_ = nullptr;
};

}  // namespace device::audio
