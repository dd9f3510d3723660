// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/audio/AudioLibrary.h"

#include <dlfcn.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/Paths.h"
#include "platform/Trace.h"

namespace device::audio {

namespace {

// Room after each buffer that the library is not told about: a library that writes a
// little too far spoils nothing of ours, and the text is never looked for there.
constexpr std::size_t kGuardUnits = 16;

const char* ProcessorFolder() {
#if defined(__x86_64__)
    return "x86_64";
#elif defined(__aarch64__)
    return "aarch64";
#elif defined(__i386__)
    return "x86";
#elif defined(__arm__)
    return "arm";
#else
    return "other";
#endif
}

std::u16string Utf16Of(std::string_view ascii) {
    std::u16string name;
    name.reserve(ascii.size());
    for (char c : ascii) name.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return name;
}

template <class Fn>
Fn Entry(void* handle, const char* name) {
    return reinterpret_cast<Fn>(::dlsym(handle, name));
}

}  // namespace

std::filesystem::path AudioLibrary::DefaultPath() {
    return platform::ProgramDir() / "SDK" / ProcessorFolder() / "libosConfLib.so";
}

std::filesystem::path AudioLibrary::SimulatedPath() {
    return platform::ProgramDir() / "simulation" / "SDK" / ProcessorFolder() / "libosConfLib.so";
}

std::unique_ptr<AudioLibrary> AudioLibrary::Load(const std::filesystem::path& path,
                                                 std::shared_ptr<CallWatch> watch) {
    // dlopen searches only for names without a slash; an absolute path is taken as it is.
    if (!path.is_absolute()) return nullptr;
    void* handle = nullptr;
    {
        // Loading runs the library's own start-up code: it is a call like the others.
        const CallWatch::Call call(watch.get());
        if (!call.Allowed()) return nullptr;
        handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (watch && watch->Hung()) return nullptr;
    if (handle == nullptr) {
        const char* why = ::dlerror();
        platform::TraceF("audio library %s not loaded: %s\n", path.c_str(), why ? why : "?");
        return nullptr;
    }
    std::unique_ptr<AudioLibrary> library(new AudioLibrary());
    library->handle_ = handle;
    library->watch_ = std::move(watch);
    library->init_ = Entry<ConfLibInitFn>(handle, "ConfLibInit");
    library->createList_ = Entry<CreateDeviceListFn>(handle, "CreateDeviceList");
    library->count_ = Entry<GetDeviceCountFn>(handle, "GetDeviceCount");
    library->byId_ = Entry<GetDeviceByIdFn>(handle, "GetDeviceById");
    library->property_ = Entry<PropertyControlFn>(handle, "PropertyControl");
    if (!library->init_ || !library->createList_ || !library->count_ || !library->byId_ ||
        !library->property_) {
        platform::TraceF("audio library %s lacks an entry point\n", path.c_str());
        return nullptr;
    }
    return library;
}

AudioLibrary::~AudioLibrary() {
    // The library may keep threads of its own; it stays until the process ends.
    handle_ = nullptr;
}

int AudioLibrary::Init() {
    const CallWatch::Call call(watch_.get());
    return call.Allowed() ? init_() : -1;
}

void AudioLibrary::CreateDeviceList() {
    const CallWatch::Call call(watch_.get());
    if (call.Allowed()) createList_();
}

int AudioLibrary::DeviceCount(int flow) {
    int count = 0;
    const CallWatch::Call call(watch_.get());
    if (!call.Allowed() || count_(flow, &count) != 0) return 0;
    return std::clamp(count, 0, kMaxDevices);
}

std::optional<ConfLibDeviceRecord> AudioLibrary::DeviceById(int flow, int index) {
    ConfLibDeviceRecord record{};
    const CallWatch::Call call(watch_.get());
    if (!call.Allowed() || byId_(flow, index, &record) != 0) return std::nullopt;
    return record;
}

int AudioLibrary::Call(const ConfLibDeviceRecord& device, std::string_view property,
                       std::vector<char16_t>& value, const std::vector<std::int32_t>& extra,
                       int direction) {
    const std::u16string name = Utf16Of(property);
    std::vector<char16_t> extraBuffer(kConfLibBufferBytes / sizeof(char16_t) + kGuardUnits, 0);
    const std::size_t extraCount =
        std::min(extra.size(), kConfLibBufferBytes / sizeof(std::int32_t));
    if (extraCount > 0)
        std::memcpy(extraBuffer.data(), extra.data(), extraCount * sizeof(std::int32_t));
    void* valuePointer = value.data();
    void* extraPointer = extraBuffer.data();
    const CallWatch::Call call(watch_.get());
    if (!call.Allowed()) return -1;
    return property_(device, name.c_str(), &valuePointer, extra.empty() ? nullptr : &extraPointer,
                     direction);
}

bool AudioLibrary::Write(const ConfLibDeviceRecord& device, std::string_view property,
                         const PropertyValue& value, const std::vector<std::int32_t>& extra) {
    std::vector<char16_t> buffer(kConfLibBufferBytes / sizeof(char16_t) + kGuardUnits, 0);
    if (value.kind == PropertyValue::Kind::Float)
        std::memcpy(buffer.data(), &value.real, sizeof value.real);
    else
        std::memcpy(buffer.data(), &value.integer, sizeof value.integer);
    return Call(device, property, buffer, extra, kDirectionWrite) == 0;
}

std::optional<std::string> AudioLibrary::ReadText(const ConfLibDeviceRecord& device,
                                                  std::string_view property,
                                                  const std::vector<std::int32_t>& extra,
                                                  std::size_t bufferBytes) {
    const std::size_t units = bufferBytes / sizeof(char16_t);
    std::vector<char16_t> buffer(units + kGuardUnits, 0);
    if (Call(device, property, buffer, extra, kDirectionRead) != 0) return std::nullopt;
    const auto end =
        std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(units), char16_t{0});
    if (end == buffer.begin() + static_cast<std::ptrdiff_t>(units)) return std::nullopt;
    std::string text;
    text.reserve(static_cast<std::size_t>(end - buffer.begin()));
    // Numbers and lists of numbers are ASCII; anything else cannot be one.
    for (auto it = buffer.begin(); it != end; ++it)
        text.push_back(*it < 0x80 ? static_cast<char>(*it) : '?');
    return text;
}

std::optional<double> AudioLibrary::ReadNumber(const ConfLibDeviceRecord& device,
                                               std::string_view property,
                                               const std::vector<std::int32_t>& extra) {
    const auto text = ReadText(device, property, extra);
    if (!text) return std::nullopt;
    return ParseDecimal(*text);
}

std::optional<double> AudioLibrary::ParseDecimal(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    std::string_view body = text;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) body.remove_prefix(1);
    int digits = 0;
    int points = 0;
    for (char c : body) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) return std::nullopt;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace device::audio
