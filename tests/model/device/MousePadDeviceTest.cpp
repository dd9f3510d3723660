// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse pad against the simulated pad: its connection, its settings copy and the
// block it writes.
#include <gtest/gtest.h>

#include "DeviceBench.h"

namespace modeltest {
namespace {

class MousePadDevice : public DeviceBench {
protected:
    model::CLumitrekMousePadDevice& ConnectPad() {
        EXPECT_TRUE(Pad().OpenCommandChannel(Slot(4, *padSim_)));
        padSim_->Log().Clear();
        pad_->OnConnected();
        Settle();
        return *pad_;
    }
    std::vector<uint8_t> Written() {
        const auto writes = RequestsOf(*padSim_, 6);
        EXPECT_EQ(writes.size(), 1u);
        if (writes.empty()) return {};
        EXPECT_EQ(writes[0][4], 21);
        return {writes[0].begin() + 8, writes[0].begin() + 8 + 21};
    }
};

TEST_F(MousePadDevice, ConnectingReadsOnlyTheInformationAndWritingUsesTheProfileLighting) {
    model::CLumitrekMousePadDevice& pad = ConnectPad();
    EXPECT_EQ(Commands(*padSim_), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(pad.GetDeviceInfo()[4], 0x0F);
    EXPECT_TRUE(fs::exists(UserFolder("MousePad") / (std::string(kProfileUuid) + ".Json")));

    // Before the pad ever reported its settings, index and direction go out as 0.
    padSim_->Log().Clear();
    EXPECT_EQ(pad.WriteSettings(0, 0, 0, 0, 0), 1);
    Settle();
    EXPECT_EQ(Commands(*padSim_), (std::vector<int>{1, 6, 2}));
    const std::vector<uint8_t> expected = {0, 2, 4, 3, 0, 1, 10, 20, 30, 0, 0,
                                           0, 0, 0, 0, 0, 0, 0,  0,  0,  0};
    EXPECT_EQ(Written(), expected);
    EXPECT_EQ(pad.Settings().HeldSpeed(), 1);
}

TEST_F(MousePadDevice, ASettingsReadTakesThePadsBlockAndItsOwnBytesGoBackUnchanged) {
    model::CLumitrekMousePadDevice& pad = ConnectPad();
    const uint8_t changed[] = {5, 3, 0, 1};  // mode 5, brightness 3, stored speed 0, direction 1
    ASSERT_TRUE(padSim_->ChangeSettingsOnDevice(1, changed));
    pad.OnSyncRequest();
    Settle();
    EXPECT_EQ(pad.Settings().Copy()[1], 5);
    EXPECT_EQ(pad.Settings().HeldSpeed(), 4);

    padSim_->Log().Clear();
    pad.WriteSettings(1, 0, 0, 0, 0);
    Settle();
    const auto written = Written();
    const auto memory = Memory(*padSim_, &sim::Firmware::Settings);
    EXPECT_EQ(written[4], 1);
    EXPECT_EQ(written[3], 0);
    EXPECT_EQ(std::vector<uint8_t>(written.begin() + 9, written.end()),
              std::vector<uint8_t>(memory.begin() + 9, memory.begin() + 21));
    EXPECT_EQ(RequestsOf(*padSim_, 6)[0][5], 64);  // index 1 at 64 bytes a block

    // The profile's lighting replaces mode, brightness, speed and colour, not the rest.
    pad.ApplyLightSetting();
    EXPECT_EQ(pad.Settings().Copy()[1], 2);
    EXPECT_EQ(pad.Settings().Copy()[4], 1);

    // With the pad gone, a read leaves the copy as it was.
    const auto copy = pad.Settings().Copy();
    pad.CloseCommandChannel();
    pad.OnSyncRequest();
    Settle();
    EXPECT_EQ(pad.Settings().Copy(), copy);
}

}  // namespace
}  // namespace modeltest
