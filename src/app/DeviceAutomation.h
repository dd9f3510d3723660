// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The automation's "device" command: the device operations the panels call, run on a
// device object of the running program as a panel would run them, so that scripts can
// drive writes (and their failures) before or beside the panels that offer them. Every
// operation returns at once, as it does for a panel; its completion is recorded, and what
// the user is told about it is shown as the panels show it (a keyed message box).
//
// UI thread only.
#include <json/json.h>

#include <map>
#include <memory>
#include <string>

namespace model {
class CLumitrekUSBDevice;
struct ApplyOutcome;
}  // namespace model

namespace app {

class AutomationHost;

class DeviceAutomation {
public:
    explicit DeviceAutomation(AutomationHost& host);
    ~DeviceAutomation();

    // {"cmd":"device","op":OP,"device":"current"|"keyboard"|"pad", ...}; see
    // docs/automation.md.
    Json::Value Run(const Json::Value& command);

private:
    struct Record {
        int queued = 0;    // operations asked for through this command
        int finished = 0;  // of those, completions that came
        Json::Value last;  // the last completion, as answered by "status"
    };
    // Completions may come after this object is gone (a script ended with work queued).
    struct Records {
        std::map<const model::CLumitrekUSBDevice*, Record> byDevice;
    };

    model::CLumitrekUSBDevice& Find(const Json::Value& command);
    Json::Value Status(model::CLumitrekUSBDevice& device);
    Json::Value SetKey(model::CLumitrekUSBDevice& device, const Json::Value& command);
    void Finished(model::CLumitrekUSBDevice& device, Json::Value last);
    void Tell(const model::ApplyOutcome& outcome);

    AutomationHost& m_host;
    std::shared_ptr<Records> m_records;
};

}  // namespace app
