// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the stand-in audio library knows, declared as data: its devices, the values of
// their properties, and how it misbehaves. Read from the file named by TX512_CONFLIB_DATA
// at each ConfLibInit, else the built-in data (one usable playback and capture device).
//
// One statement per line; '#' starts a comment; FLOW is "playback" or "capture":
//   init RESULT                    ConfLibInit answers RESULT
//   device FLOW TYPE STATE         appends a device (identity = its place in the list)
//   count FLOW N                   GetDeviceCount answers N whatever the list holds
//   value FLOW NAME TEXT           a read of NAME answers TEXT (until written)
//   fail FLOW NAME                 calls on NAME answer 1 and change nothing
//   unterminated FLOW NAME         a read of NAME fills the whole buffer without a NUL
//   hang FLOW NAME MS              calls on NAME sleep MS milliseconds first
// Property values not declared read as a failure until written; a write stores the value
// as decimal text.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace standin {

struct Device {
    int flow = 0;
    int type = 0;
    int state = 0;
};

using Key = std::pair<int, std::string>;  // flow, property name

struct Data {
    int initResult = 0;
    std::vector<Device> devices;
    std::map<int, int> counts;  // flow -> declared count
    std::map<Key, std::string> values;
    std::set<Key> failing;
    std::set<Key> unterminated;
    std::map<Key, int> hangs;
};

Data BuiltInData();
// The file's statements on top of nothing; unknown lines are skipped.
Data ReadData(const std::string& path);
// "playback" 0, "capture" 1, else -1.
int FlowOf(const std::string& word);
const char* FlowName(int flow);

}  // namespace standin
