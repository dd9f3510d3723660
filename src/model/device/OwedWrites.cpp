#include "model/device/OwedWrites.h"

#include <json/json.h>

#include <algorithm>
#include <system_error>

#include "data/JsonDataFile.h"

namespace model {

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kKeys = "Keys";

}  // namespace

void OwedWrites::Attach(const std::filesystem::path& file) {
    file_ = file;
    const Json::Value document = JsonDataFile().ReadJsonFile(file);
    if (!document.isObject()) return;
    const auto take = [&](const char* name, Part part) {
        if (!document[name].isBool() || !document[name].asBool()) return;
        // Owed by a write of the last run: a ticket nothing has reached yet.
        Of(part).queued = ++next_;
        Of(part).missed = true;
    };
    take(kSettings, Part::Settings);
    take(kKeys, Part::Keys);
    persisted_ = {settings_.missed, keys_.missed};
}

std::uint64_t OwedWrites::Queued(Part part) {
    Of(part).queued = ++next_;
    return next_;
}

void OwedWrites::Ended(Part part, std::uint64_t ticket, bool reached) {
    Track& track = Of(part);
    // An older write that reached the device says nothing of a newer one still to come:
    // the part is settled only up to the ticket that was taken.
    if (reached) {
        track.reached = std::max(track.reached, ticket);
        if (track.reached >= track.queued) track.missed = false;
    } else {
        track.missed = true;
    }
    Persist();
}

bool OwedWrites::Owed(Part part) const {
    return Of(part).queued > Of(part).reached;
}

void OwedWrites::Persist() {
    const std::pair now{settings_.missed, keys_.missed};
    if (file_.empty() || now == persisted_) return;
    if (!now.first && !now.second) {
        std::error_code ignored;
        std::filesystem::remove(file_, ignored);
        persisted_ = now;
        return;
    }
    Json::Value document(Json::objectValue);
    document[kSettings] = now.first;
    document[kKeys] = now.second;
    // A file that could not be written is tried again at the next change.
    if (JsonDataFile().WriteJsonFile(file_, document)) persisted_ = now;
}

}  // namespace model
