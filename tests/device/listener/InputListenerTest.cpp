// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "device/hid/VirtualBus.h"
#include "device/listener/InputListener.h"
#include "platform/Trace.h"
#include "sim/SimulatedDevices.h"

using namespace device;
using namespace std::chrono_literals;

namespace {

// The device object's side: its event channel on the consumer collection, and a record
// of what the listener asked of it.
class EventOwner : public ListenerOwner {
public:
    explicit EventOwner(std::shared_ptr<HidBackend> backend) : hid_(std::move(backend)) {}

    bool OpenOn(const std::string& path) {
        open_ = hid_.Open(path, true, true, true, false);
        return open_;
    }
    bool EventChannelOpen() const override { return open_; }
    HidDevice& EventDevice() override { return hid_; }
    void ArmSyncTimer(int intervalMs) override { Record("timer " + std::to_string(intervalMs)); }
    void OnKeyEvent(int keySlot, int action) override {
        Record("key " + std::to_string(keySlot) + " " + std::to_string(action));
    }

    bool WaitFor(size_t count, std::chrono::milliseconds limit = 2s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return actions_.size() >= count; });
    }
    std::vector<std::string> Actions() {
        std::lock_guard lock(mutex_);
        return actions_;
    }

private:
    void Record(std::string what) {
        std::lock_guard lock(mutex_);
        actions_.push_back(std::move(what));
        changed_.notify_all();
    }

    HidDevice hid_;
    std::atomic<bool> open_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> actions_;
};

std::string ConsumerPath(const VirtualBus& bus, const VirtualHidDevice& device) {
    for (const auto& p : bus.PathsOf(device)) {
        if (p.find("&mi_01&col03") != std::string::npos) return p;
    }
    return {};
}

class TraceCapture {
public:
    TraceCapture() {
        platform::SetTraceSink([this](std::string_view text) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(text);
        });
    }
    ~TraceCapture() { platform::SetTraceSink({}); }
    size_t Count(const std::string& line) {
        std::lock_guard lock(mutex_);
        return size_t(std::count(lines_.begin(), lines_.end(), line));
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

class InputListenerTest : public ::testing::Test {
protected:
    void SetUp() override { devices_ = sim::PlugSimulatedDevices(bus_); }
    VirtualBus bus_;
    sim::SimulatedDevices devices_;
};


TEST_F(InputListenerTest, KeyboardTurnsEventsIntoKeysAndSyncRequests) {
    TraceCapture traces;
    EventOwner owner(bus_.Backend());
    ASSERT_TRUE(owner.OpenOn(ConsumerPath(bus_, *devices_.keyboard)));
    InputListener listener(owner, ListenerKind::Keyboard);
    listener.Start();

    ASSERT_TRUE(devices_.keyboard->SendEvent(0x0503));
    ASSERT_TRUE(owner.WaitFor(1));
    EXPECT_EQ(listener.LastEventUsage(), 0x0503);
    ASSERT_TRUE(devices_.keyboard->SendEvent(0x00E9));  // an ordinary consumer usage: nothing
    ASSERT_TRUE(devices_.keyboard->SendEvent(0x0603));
    ASSERT_TRUE(owner.WaitFor(2));
    ASSERT_TRUE(devices_.keyboard->SendEvent(0x0401));
    ASSERT_TRUE(devices_.keyboard->SendEvent(0x0404));  // counted elsewhere, no effect here
    ASSERT_TRUE(devices_.keyboard->SendEvent(0x0402));
    ASSERT_TRUE(devices_.keyboard->SendEvent(0x05FF));
    ASSERT_TRUE(owner.WaitFor(5));
    EXPECT_EQ(owner.Actions(), (std::vector<std::string>{"key 3 1", "key 3 2", "timer 100", "timer 100", "key 255 1"}));
    EXPECT_EQ(listener.LastEventUsage(), 0x05FF);

    EXPECT_EQ(listener.Stop(), platform::WorkerThread::StopResult::Ended);
    EXPECT_EQ(traces.Count("接收到自动添加设备的同步信息要求  TEST\n"), 7u);
    EXPECT_EQ(traces.Count("接收到自动添加设备的同步信息要求\n"), 1u);
    EXPECT_EQ(traces.Count("MS设备同步线程设定退出\n"), 1u);
}

TEST_F(InputListenerTest, OtherDevicesReactOnlyToSettingsChanges) {
    EventOwner owner(bus_.Backend());
    ASSERT_TRUE(owner.OpenOn(ConsumerPath(bus_, *devices_.pad)));
    InputListener listener(owner, ListenerKind::Other);
    listener.Start();
    for (uint16_t usage : {0x0402, 0x0503, 0x0603, 0x00E9, 0x0401}) {
        ASSERT_TRUE(devices_.pad->SendEvent(usage));
    }
    ASSERT_TRUE(owner.WaitFor(1));
    // Real time on purpose: an event wrongly acted on would show within it.
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(owner.Actions(), std::vector<std::string>{"timer 500"});
    EXPECT_EQ(listener.LastEventUsage(), 0x0401);
}

TEST_F(InputListenerTest, StopsInTimeWhileWaitingClosedOrUnplugged) {
    EventOwner idle(bus_.Backend());  // channel never opened: the thread only polls its stop event
    InputListener idleListener(idle, ListenerKind::Keyboard);
    idleListener.Start();

    EventOwner waiting(bus_.Backend());
    ASSERT_TRUE(waiting.OpenOn(ConsumerPath(bus_, *devices_.keyboard)));
    InputListener waitingListener(waiting, ListenerKind::Keyboard);
    waitingListener.Start();

    EventOwner orphan(bus_.Backend());
    ASSERT_TRUE(orphan.OpenOn(ConsumerPath(bus_, *devices_.pad)));
    InputListener orphanListener(orphan, ListenerKind::Other);
    orphanListener.Start();
    // Real time on purpose: the listeners are in their waits when the device goes.
    std::this_thread::sleep_for(20ms);
    devices_.pad->Unplug();  // its reads now fail at once; the loop keeps polling
    // Real time on purpose: the orphan polls its failing reads a while.
    std::this_thread::sleep_for(20ms);

    for (InputListener* l : {&idleListener, &waitingListener, &orphanListener}) {
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(l->Stop(1000), platform::WorkerThread::StopResult::Ended);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
        EXPECT_FALSE(l->Running());
    }
    EXPECT_TRUE(idle.Actions().empty());
    EXPECT_EQ(idleListener.Stop(), platform::WorkerThread::StopResult::Error);  // not running
}

TEST(InputListenerAct, KeyRangesAndKinds) {
    struct Owner : ListenerOwner {
        bool EventChannelOpen() const override { return false; }
        HidDevice& EventDevice() override { return *hid; }
        void ArmSyncTimer(int ms) override { timers.push_back(ms); }
        void OnKeyEvent(int slot, int action) override { keys.push_back({slot, action}); }
        HidDevice* hid = nullptr;
        std::vector<int> timers;
        std::vector<std::pair<int, int>> keys;
    } owner;
    InputListener keyboard(owner, ListenerKind::Keyboard);
    for (uint16_t u : {0x0500, 0x0700, 0x04FF, 0x06FF, 0x0000}) keyboard.Act(u);
    EXPECT_EQ(owner.keys, (std::vector<std::pair<int, int>>{{0, 1}, {255, 2}}));
    InputListener mouse(owner, ListenerKind::Other);
    mouse.Act(0x0402);
    mouse.Act(0x0401);
    EXPECT_EQ(owner.timers, std::vector<int>{500});
}

}  // namespace
