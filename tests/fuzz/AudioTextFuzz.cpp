// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the text an audio library leaves in a read: a number is taken only from
// plain decimal text, and then it is finite and what the digits say.
#include <cmath>
#include <string>

#include "device/audio/AudioLibrary.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const auto value = device::audio::AudioLibrary::ParseDecimal(text);
    if (!value) return 0;
    FUZZ_CHECK(std::isfinite(*value));
    int points = 0;
    int digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            FUZZ_CHECK(c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '+' || c == '-');
    }
    FUZZ_CHECK(digits > 0 && points <= 1);
    return 0;
}
