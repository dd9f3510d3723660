// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What applying key assignments (and with them the macros their keys play) to a keyboard
// came to, in the apply order: the macro image first, then, unless the macros do not
// fit, the key table.
#include <string>

namespace model {

struct ApplyOutcome {
    enum class Keys {
        Written,       // the key table went out and the device took every report
        NotConnected,  // no device: nothing was sent, nothing to tell
        TableUnknown,  // this connection never read the device's key table in full, and
                       // reading it again failed: nothing was written, so no slot the
                       // program cannot place is ever overwritten
        Failed,        // the device stopped answering during the write
        NotAttempted,  // the macros do not fit: the keys that play them were left alone
    };

    int settings = 1;  // the settings block's result code, when the apply carried one
    // What writing the macros answered: 0 written or nothing to write, -1 the image could
    // not be built (the keys were still written), a positive number of events too many.
    int macros = 0;
    Keys keys = Keys::NotConnected;

    // A profile switch goes no further than an outcome that stopped it.
    bool Stopped() const { return macros > 0 || keys == Keys::TableUnknown; }
    // The keyed message the user is shown about it, empty for none; "%d" in the text
    // takes MessageNumber().
    std::string MessageKey() const;
    int MessageNumber() const { return macros; }
};

}  // namespace model
