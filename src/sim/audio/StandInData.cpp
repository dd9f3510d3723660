// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/audio/StandInData.h"

#include <fstream>
#include <sstream>

namespace standin {

int FlowOf(const std::string& word) {
    if (word == "playback") return 0;
    if (word == "capture") return 1;
    return -1;
}

const char* FlowName(int flow) {
    return flow == 0 ? "playback" : flow == 1 ? "capture" : "unknown";
}

Data BuiltInData() {
    Data data;
    data.devices = {{0, 1, 1}, {1, 2, 1}};
    // Field 0 of the capture device's features has the voice changer's bit (0x20000).
    data.values[{1, "GetSupportFeature"}] = "131072,0,0,0,1,0,1";
    data.values[{0, "GetSupportFeature"}] = "0,0,0,0,1,0,1";
    for (const char* name : {"GetMaxVol", "GetAAMaxVol"}) data.values[{1, name}] = "100";
    for (const char* name : {"GetMinVol", "GetAAMinVol"}) data.values[{1, name}] = "0";
    for (const char* name : {"GetVolStep", "GetAAVolStep"}) data.values[{1, name}] = "1";
    return data;
}

Data ReadData(const std::string& path) {
    Data data;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string verb, flowWord, name;
        if (!(words >> verb)) continue;
        if (verb == "init") {
            words >> data.initResult;
            continue;
        }
        if (!(words >> flowWord)) continue;
        const int flow = FlowOf(flowWord);
        if (flow < 0) continue;
        if (verb == "device") {
            Device device{flow, 0, 0};
            if (words >> device.type >> device.state) data.devices.push_back(device);
        } else if (verb == "count") {
            int n = 0;
            if (words >> n) data.counts[flow] = n;
        } else if (words >> name) {
            const Key key{flow, name};
            if (verb == "value") {
                std::string text;
                std::getline(words >> std::ws, text);
                data.values[key] = text;
            } else if (verb == "fail") {
                data.failing.insert(key);
            } else if (verb == "unterminated") {
                data.unterminated.insert(key);
            } else if (verb == "hang") {
                int ms = 0;
                if (words >> ms) data.hangs[key] = ms;
            }
        }
    }
    return data;
}

}  // namespace standin
