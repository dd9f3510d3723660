// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an exchange or a command ends with. Transfer gives Success, NoReply or
// WriteFailed; the command layer adds the device's status and the table-index check.

namespace device {

enum ResultCode : int {
    kResultSuccess = 1,
    kResultNoReply = 0,  // channel not open, or no reply was read
    kResultWriteFailed = -1,
    kResultStatusFF = -102,  // reply byte 7 was 0xFF
    kResultStatusFE = -103,  // reply byte 7 was 0xFE
    kResultBadTableIndex = -201,
};

}  // namespace device
