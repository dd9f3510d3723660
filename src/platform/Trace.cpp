// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {

namespace {

struct TraceState {
    std::mutex mutex;
    std::function<void(std::string_view)> sink;
    FILE* file = nullptr;
    bool initialised = false;

    void InitFromEnvironment() {
        if (initialised) return;
        initialised = true;
        const char* value = std::getenv("TX512_TRACE");
        if (!value || !*value || std::strcmp(value, "0") == 0) return;
        if (std::strcmp(value, "1") == 0) {
            file = stderr;
        } else {
            file = std::fopen(value, "a");
        }
    }
};

TraceState& State() {
    static TraceState state;
    return state;
}

}  // namespace

bool TraceEnabled() {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.InitFromEnvironment();
    return s.sink || s.file;
}

void Trace(std::string_view text) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.InitFromEnvironment();
    if (s.sink) {
        s.sink(text);
    } else if (s.file) {
        std::fwrite(text.data(), 1, text.size(), s.file);
        std::fflush(s.file);
    }
}

void TraceF(const char* format, ...) {
    if (!TraceEnabled()) return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        va_end(args);
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    Trace(std::string_view(buffer.data(), static_cast<size_t>(length)));
}

void SetTraceSink(std::function<void(std::string_view)> sink) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.sink = std::move(sink);
}

}  // namespace platform
