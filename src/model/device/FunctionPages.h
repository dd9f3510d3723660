// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which pages of the device page's two tab layouts show a function page: F is
// "device_function_switch", K "device_key_function_switch"; -1 leaves a layout as it is.
namespace model {

struct FunctionPageSelection {
    int functionSwitch = 0;
    int keyFunctionSwitch = 0;

    bool operator==(const FunctionPageSelection&) const = default;
};

class FunctionPages {
public:
    static constexpr int kUnchanged = -1;
    static FunctionPageSelection For(int page, int kind);
};

}  // namespace model
