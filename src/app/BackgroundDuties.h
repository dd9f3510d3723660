// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work that keeps the program useful with its window closed: a server other programs
// drive the lighting through, rules that switch profiles as programs start. Where the
// desktop shows no tray icon, a closed window cannot be found again, so the program only
// stays once one of these is active; each door that does such work claims a duty under
// its own name and says whether it is active right now.
//
// UI thread only.
#include <functional>
#include <string>
#include <vector>

namespace app {

class BackgroundDuties {
public:
    using Active = std::function<bool()>;

    // Claims (or replaces) the duty `name`; `active` is asked at each decision.
    void Claim(const std::string& name, Active active);
    void Release(const std::string& name);
    bool AnyActive() const;
    // The names of the duties active now, in the order they were claimed.
    std::vector<std::string> ActiveNames() const;

private:
    struct Duty {
        std::string name;
        Active active;
    };
    std::vector<Duty> duties_;
};

}  // namespace app
