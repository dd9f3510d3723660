// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/FunctionPages.h"

#include "device/scanner/DeviceKind.h"

namespace model {

FunctionPageSelection FunctionPages::For(int page, int kind) {
    switch (page) {
        case 2:
        case 6:
            return {0, 1};
        case 3:
        case 8:
            return {1, kUnchanged};
        case 4:
            if (kind == device::kKindKeyboard || kind == device::kKindMouse ||
                kind == device::kKindMouseLongWait)
                return {3, kUnchanged};
            return {0, 2};
        case 7:
            return {0, 2};
        case 5:
            return {2, kUnchanged};
        default:
            return {0, 0};
    }
}

}  // namespace model
