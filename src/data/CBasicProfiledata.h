// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device's settings section of one profile file, held in memory as JSON, with typed
// readers and writers for the parts every device kind shares. Readers refresh the
// in-memory copies from the section; writers change only the section, and Save puts the
// section back into the file, leaving the rest of the file as it is on disk.
//
// The file is one JSON object whose "Device" array holds the section at the device
// index. A missing or broken profile file is recreated from the kind's default profile
// the first time it is loaded.
#include <json/json.h>

#include <filesystem>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/KeyMapping.h"
#include "data/LightSetting.h"
#include "data/LightStep.h"

class CBasicProfiledata {
public:
    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = default;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

    // An empty path leaves the stored one unchanged.
    void SetProfilePath(const std::filesystem::path& path);
    void SetDefaultProfilePath(const std::filesystem::path& path);
    const std::filesystem::path& GetProfilePath() const { return profilePath_; }
    const std::filesystem::path& GetDefaultProfilePath() const { return defaultProfilePath_; }
    // Stored as given, empty included.
    void SetLightConfigPath(const std::filesystem::path& path) { lightConfigPath_ = path; }
    const std::filesystem::path& GetLightConfigPath() const { return lightConfigPath_; }
    void SetDeviceIndex(int index) { deviceIndex_ = index; }
    int GetDeviceIndex() const { return deviceIndex_; }
    // The kind's element of the light list config (keyboard 0, mouse 1, mouse pad 2,
    // headset 3): the programs that LoadLightSteps plays are those the kind's name list
    // shows.
    void SetLightListIndex(int index) { lightListIndex_ = index; }
    int GetLightListIndex() const { return lightListIndex_; }

    // What the last LoadSection found in the file.
    struct LoadReport {
        enum class Outcome {
            Loaded,    // the file's own section
            Created,   // the file or its section did not exist yet: filled from the defaults
            Replaced,  // the file could not be taken as it was: `copy` keeps it, and the
                       // file now holds the default section
            Kept,      // the file could not be taken and not be copied (or not be read at
                       // all): it was left alone, the defaults live in memory only, and
                       // saves are refused until the next load, so they cannot bury it
        };
        Outcome outcome = Outcome::Loaded;
        std::filesystem::path file;
        std::filesystem::path copy;
        // The user should hear about it: their settings in that file are not in use.
        bool Lost() const { return outcome == Outcome::Replaced || outcome == Outcome::Kept; }
    };

    // Makes the section at the device index of the file at `path` the in-memory section
    // and returns a copy. When the file has none (missing, no such element), the default
    // profile's section is taken and written into the file, keeping the file's other
    // members; the default profile file itself is never written. A file that is there but
    // cannot be taken as it is (not JSON, not UTF-8, a section of the wrong shape) is
    // copied aside before anything is written in its place (see LoadReport).
    Json::Value LoadSection(const std::filesystem::path& path);
    const LoadReport& LastLoad() const { return lastLoad_; }
    const Json::Value& GetSection() const { return section_; }

    // "LightInfo". With no "LightInfo" the current setting is returned unchanged.
    LightSetting GetLightInfo();
    void SetLightInfo(uint32_t word0, uint32_t word1, uint32_t word2, uint32_t word3);
    // "LightList", one setting per LED; it comes from the default profile and is never written.
    std::vector<LightSetting> GetLightList();
    // "KeyList". The writer sets "Assignment" only; elements beyond the list stay.
    std::vector<KeyMapping> GetKeyList();
    void SetKeyList(const std::vector<KeyMapping>& keys);

    // The light list config ("vexal_light.config") replaces the stored one; a copy is returned.
    Json::Value LoadLightConfig(const std::filesystem::path& path);
    // The steps of the light program chosen by the current mode number, read from the
    // program file named by the config's "Guid" + ".light" in the config's folder.
    std::vector<LightStep> LoadLightSteps();

    // Puts a copy of the section into the profile file; false (nothing written) after a
    // load that left the file alone (LoadReport::Outcome::Kept).
    virtual bool Save();
    // Re-reads the file at `path`, sets element [device index] of its "Device" to
    // `section` and writes it back. A file that exists but cannot be read is left alone
    // (false), so that a passing I/O fault cannot cost the user the rest of the file; one
    // that reads but is not usable JSON is copied aside first (and left alone when that
    // fails).
    virtual bool SaveSection(const Json::Value& section, const std::filesystem::path& path);
    // Writes `value` as the whole file.
    virtual bool WriteFile(const Json::Value& value, const std::filesystem::path& path);

protected:
    Json::Value& Section() { return section_; }
    const Json::Value& ConstSection() const { return section_; }
    const JsonDataFile& DataFile() const { return jsonFile_; }

private:
    // Modes from this number on may play a light program.
    static constexpr int kFirstCustomMode = 0;

    std::filesystem::path profilePath_;
    std::filesystem::path defaultProfilePath_;
    std::filesystem::path lightConfigPath_;
    Json::Value section_;
    int deviceIndex_ = 0;
    int lightListIndex_ = 0;
    LightSetting lightSetting_;
    std::vector<LightSetting> lightList_;
    Json::Value lightConfig_;
    std::filesystem::path lightConfigFolder_;
    std::vector<LightStep> lightSteps_;
    std::vector<KeyMapping> keyList_;
    JsonDataFile jsonFile_;
    LoadReport lastLoad_;
};
