// SPDX-License-Identifier: GPL-3.0-or-later
// The device worker against the simulated keyboard: order, coalescing, cancellation,
// completions only on the UI loop and never after the worker is gone, a bounded stop,
// and queued work that never reaches a keyboard opened after it was queued.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "device/hid/VirtualBus.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "device/protocol/ResultCode.h"
#include "model/device/DeviceWorker.h"
#include "platform/Event.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"
#include "ui/CMessageLoop.h"

namespace model {
namespace {

using Session = DeviceWorker::Session;
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

using test_support::Eventually;

// What the operations did, in the order they did it; written from the worker thread.
class Journal {
public:
    void Add(std::string entry) {
        std::lock_guard lock(mutex_);
        entries_.push_back(std::move(entry));
    }
    std::vector<std::string> Entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
};

// An operation that holds the worker until the test lets it go (or the worker stops).
struct Latch {
    platform::Event started{platform::Event::Mode::ManualReset};
    platform::Event release{platform::Event::Mode::ManualReset};

    std::function<int(Session&)> Work() {
        return [this](Session& session) {
            started.Set();
            platform::Event::WaitAny(session.stop, release, 5000);
            return 0;
        };
    }
};

// On the heap in each test (see tests/device/protocol/ChannelOnBus.h): ThreadSanitizer
// would otherwise tie the mutexes of one test to the next one's at the same address.
struct Bench {
    ui::CMessageLoop loop;  // first: the worker's UI loop outlives it
    device::VirtualBus bus;
    sim::SimulatedDevices devices = sim::PlugSimulatedDevices(bus);
    sim::SimDevice& keyboard = *devices.keyboard;
    device::CommandChannel channel{bus.Backend()};
    // Before the worker: its operations use them until it has stopped.
    std::unique_ptr<Latch> latch = std::make_unique<Latch>();
    Journal journal;
    std::unique_ptr<DeviceWorker> worker = std::make_unique<DeviceWorker>(channel);

    Bench() {
        channel.SetTimeLimits({150, 300});
        EXPECT_TRUE(Open());
        worker->SetUiLoop(&loop);
        keyboard.Log().Clear();
    }

    bool Open() {
        for (const std::string& p : bus.PathsOf(keyboard))
            if (p.find("&mi_01&col04") != std::string::npos) return channel.Open(p);
        return false;
    }

    // Holds the worker on the latch before the next operations are queued.
    void Block() {
        latch = std::make_unique<Latch>();
        worker->Post<int>({}, latch->Work());
        ASSERT_TRUE(latch->started.Wait(2000));
    }

    // Runs the UI loop until the worker has nothing left, completions included.
    void Settle() {
        ASSERT_TRUE(Eventually([&] {
            loop.RunPending();
            return worker->Idle();
        })) << "the worker did not settle";
        loop.RunPending();
    }

    std::vector<int> CommandsOnWire() {
        std::vector<int> codes;
        for (const sim::WireEntry& e : keyboard.Log().Requests()) codes.push_back(e.bytes.at(3));
        return codes;
    }
};

// An operation of `area` that notes `name` when it runs and answers `value`.
std::function<int(Session&)> Noting(Journal& journal, std::string name, int value) {
    return [&journal, name, value](Session&) {
        journal.Add(name);
        return value;
    };
}

// A completion that notes "name=value" ("!" when it was cancelled) in `completed`.
std::function<void(const Completion<int>&)> Note(std::vector<std::string>& completed,
                                                 std::string name) {
    return [&completed, name = std::move(name)](const Completion<int>& c) {
        completed.push_back(name + "=" + std::to_string(c.value) + (c.cancelled ? "!" : ""));
    };
}

TEST(DeviceWorker, RunsInQueuedOrderOnItsThreadAndCompletesOnlyOnTheUiLoop) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    const std::thread::id ui = std::this_thread::get_id();
    std::atomic<int> ran{0};
    std::vector<std::pair<int, std::uint8_t>> completed;
    bool completedOffUi = false;
    const std::vector<std::uint8_t> distinct = {11, 22, 33, 44, 55};
    device::CommandSet direct(b.channel);
    ASSERT_EQ(direct.WriteSettingsMemory(distinct, 100), device::kResultSuccess);
    b.keyboard.Log().Clear();

    b.Block();
    for (int i = 0; i < 5; ++i) {
        b.worker->Post<std::uint8_t>(
            {},
            [&, i](Session& s) {
                EXPECT_NE(std::this_thread::get_id(), ui);
                std::uint8_t byte = 0;
                EXPECT_EQ(
                    s.commands.ReadSettingsMemory({&byte, 1}, static_cast<std::uint16_t>(100 + i)),
                    device::kResultSuccess);
                ++ran;
                return byte;
            },
            [&, i](const Completion<std::uint8_t>& c) {
                if (std::this_thread::get_id() != ui) completedOffUi = true;
                EXPECT_FALSE(c.cancelled);
                completed.emplace_back(i, c.value);
            });
    }
    EXPECT_EQ(b.worker->Waiting(), 5u);
    EXPECT_FALSE(b.worker->Idle());
    b.latch->release.Set();

    // All ran, but nothing completes before the UI loop turns, and until then the worker
    // is not idle: a completion is still on its way.
    ASSERT_TRUE(Eventually([&] { return ran.load() == 5; }));
    ASSERT_TRUE(Eventually([&] { return b.worker->Waiting() == 0; }));
    // Real time on purpose: a completion wrongly run on the worker thread would show
    // within it; none may show before the loop turns however long that takes.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(completed.empty());
    EXPECT_FALSE(b.worker->Idle());

    b.Settle();
    EXPECT_TRUE(b.worker->Idle());
    EXPECT_FALSE(completedOffUi);
    // Read in queued order on the wire, and each byte handed to its own completion.
    ASSERT_EQ(completed.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(completed[i].first, i);
        EXPECT_EQ(completed[i].second, distinct[i]) << i;
    }
    std::vector<unsigned> offsets;
    for (const sim::WireEntry& e : b.keyboard.Log().Requests())
        offsets.push_back(e.bytes.at(5) | e.bytes.at(6) << 8u);
    EXPECT_EQ(offsets, (std::vector<unsigned>{100, 101, 102, 103, 104}));
}

TEST(DeviceWorker, WaitingOperationOfAnAreaIsReplacedAtTheEndAndBothCompletionsGetTheNewResult) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    std::vector<std::string> completed;
    const auto note = [&](std::string name) { return Note(completed, std::move(name)); };

    b.Block();
    b.worker->Post<int>("light", Noting(b.journal, "A1", 1), note("A1"));
    b.worker->Post<int>("keys", Noting(b.journal, "B", 7), note("B"));
    b.worker->Post<int>("light", Noting(b.journal, "A2", 2), note("A2"));
    EXPECT_EQ(b.worker->Waiting(), 2u);
    b.latch->release.Set();
    b.Settle();

    EXPECT_EQ(b.journal.Entries(), (std::vector<std::string>{"B", "A2"}));
    EXPECT_EQ(completed, (std::vector<std::string>{"B=7", "A1=2", "A2=2"}));

    // A third one folds in again: three completions, one run, the last value.
    completed.clear();
    b.Block();
    b.worker->Post<int>("light", Noting(b.journal, "C1", 1), note("C1"));
    b.worker->Post<int>("light", Noting(b.journal, "C2", 2), note("C2"));
    b.worker->Post<int>("light", Noting(b.journal, "C3", 3), note("C3"));
    EXPECT_EQ(b.worker->Waiting(), 1u);
    b.latch->release.Set();
    b.Settle();
    EXPECT_EQ(b.journal.Entries(), (std::vector<std::string>{"B", "A2", "C3"}));
    EXPECT_EQ(completed, (std::vector<std::string>{"C1=3", "C2=3", "C3=3"}));
}

TEST(DeviceWorker, NoCoalescingAcrossAreasWithoutAnAreaOrOnceStartedOrAcrossConnections) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    std::vector<std::string> completed;
    const auto note = [&](std::string name) { return Note(completed, std::move(name)); };

    b.Block();
    b.worker->Post<int>({}, Noting(b.journal, "E1", 1), note("E1"));
    b.worker->Post<int>("x", Noting(b.journal, "X", 2), note("X"));
    b.worker->Post<int>({}, Noting(b.journal, "E2", 3), note("E2"));
    b.worker->Post<int>("y", Noting(b.journal, "Y", 4), note("Y"));
    EXPECT_EQ(b.worker->Waiting(), 4u);
    b.latch->release.Set();
    b.Settle();
    EXPECT_EQ(b.journal.Entries(), (std::vector<std::string>{"E1", "X", "E2", "Y"}));
    EXPECT_EQ(completed, (std::vector<std::string>{"E1=1", "X=2", "E2=3", "Y=4"}));

    // The running operation of an area is not replaced by the next one of that area.
    completed.clear();
    auto running = std::make_unique<Latch>();
    b.worker->Post<int>("light", running->Work(), note("running"));
    ASSERT_TRUE(running->started.Wait(2000));
    b.worker->Post<int>("light", Noting(b.journal, "L", 5), note("L"));
    EXPECT_EQ(b.worker->Waiting(), 1u);
    running->release.Set();
    b.Settle();
    EXPECT_EQ(completed, (std::vector<std::string>{"running=0", "L=5"}));

    // Queued for the connection that then closed, and again for the one opened after it:
    // neither stands in for the other, and each learns about its own connection.
    completed.clear();
    b.Block();
    const auto current = [&](std::string name) {
        return [&journal = b.journal, name](Session& s) {
            journal.Add(name);
            return s.Current() ? 1 : 0;
        };
    };
    b.worker->Post<int>("light", current("old"), note("old"));
    b.channel.Close();
    ASSERT_TRUE(b.Open());
    b.worker->Post<int>("light", current("new"), note("new"));
    EXPECT_EQ(b.worker->Waiting(), 2u);
    b.latch->release.Set();
    b.Settle();
    EXPECT_EQ(completed, (std::vector<std::string>{"old=0", "new=1"}));
}

TEST(DeviceWorker, CancelDropsWaitingOperationsWithCancelledCompletionsAndKeepsWorking) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    std::vector<std::string> completed;
    const auto note = [&](std::string name) { return Note(completed, std::move(name)); };

    b.worker->Post<int>({}, b.latch->Work(), note("running"));
    ASSERT_TRUE(b.latch->started.Wait(2000));
    b.worker->Post<int>({}, Noting(b.journal, "W1", 1), note("W1"));
    b.worker->Post<int>("light", Noting(b.journal, "W2", 2), note("W2"));
    b.worker->Post<int>("light", Noting(b.journal, "W3", 3), note("W3"));
    b.worker->Post<int>("keys", Noting(b.journal, "W4", 4));  // no completion at all
    b.worker->Cancel();
    EXPECT_EQ(b.worker->Waiting(), 0u);
    b.latch->release.Set();
    b.Settle();

    EXPECT_TRUE(b.journal.Entries().empty());
    // The running one was not cancelled; the merged pair is cancelled once each.
    EXPECT_EQ(completed, (std::vector<std::string>{"W1=0!", "W2=0!", "W3=0!", "running=0"}));

    completed.clear();
    b.worker->Post<int>("light", Noting(b.journal, "after", 9), note("after"));
    b.Settle();
    EXPECT_EQ(b.journal.Entries(), (std::vector<std::string>{"after"}));
    EXPECT_EQ(completed, (std::vector<std::string>{"after=9"}));
}

TEST(DeviceWorker, WithoutAUiLoopCompletionsAreDroppedAndTheWorkerStillSettles) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    b.worker->SetUiLoop(nullptr);
    bool completed = false;
    b.worker->Post<int>("light", Noting(b.journal, "run", 1),
                        [&](const Completion<int>&) { completed = true; });
    ASSERT_TRUE(Eventually([&] { return b.worker->Idle(); }));
    EXPECT_EQ(b.journal.Entries(), (std::vector<std::string>{"run"}));
    EXPECT_EQ(b.loop.RunPending(), 0);
    EXPECT_FALSE(completed);
}

// What the worker's owner would hold: a completion that reaches it after it died would
// write freed memory (AddressSanitizer reports it; the count shows it in other builds).
struct Owner {
    explicit Owner(device::CommandChannel& channel) : worker(channel) {}
    DeviceWorker worker;
    int completions = 0;
};

TEST(DeviceWorker, DestroyedWorkerRunsNoCompletionQueuedOrAlreadyOnItsWayToTheUi) {
    auto bench = std::make_unique<Bench>();
    Bench& b = *bench;
    auto owner = std::make_unique<Owner>(b.channel);
    Owner* o = owner.get();
    o->worker.SetUiLoop(&b.loop);
    auto calls = std::make_shared<int>(0);
    const auto count = [o, calls](const Completion<int>&) {
        ++*calls;
        ++o->completions;
    };

    o->worker.Post<int>(
        "a", [](Session&) { return 1; }, count);
    // Once the latch runs, the first result has been handed to the UI loop.
    o->worker.Post<int>({}, b.latch->Work(), count);
    ASSERT_TRUE(b.latch->started.Wait(2000));
    o->worker.Post<int>(
        "b", [](Session&) { return 3; }, count);
    EXPECT_EQ(o->worker.Waiting(), 1u);

    // The latch ends on the worker's stop: its result too goes out during the destruction.
    const auto start = Clock::now();
    owner.reset();
    EXPECT_LT(MsSince(start), 1000);
    b.loop.RunPending();
    b.loop.RunPending();
    EXPECT_EQ(*calls, 0);
}

TEST(DeviceWorker, StopEndsInItsBoundWhileAnOperationWaitsOnASilentDeviceOnceTheChannelCloses) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    b.channel.SetTimeLimits({5000, 5000});
    b.keyboard.Faults().Arm({sim::Fault::Kind::NoReply, 170, 0, 1, 0});
    std::vector<std::string> completed;
    std::atomic<long long> opMs{-1};
    b.worker->Post<int>(
        "link",
        [&](Session& s) {
            const auto start = Clock::now();
            const bool up = s.commands.QueryLink();
            opMs = MsSince(start);
            return up ? 1 : 0;
        },
        [&](const Completion<int>& c) {
            completed.push_back("link=" + std::to_string(c.value) + (c.cancelled ? "!" : ""));
        });
    ASSERT_TRUE(Eventually([&] { return b.CommandsOnWire() == std::vector<int>{170}; }));
    ASSERT_TRUE(Eventually([&] { return b.channel.Busy(); }));

    const auto start = Clock::now();
    b.channel.Close();
    EXPECT_EQ(b.worker->Stop(300), platform::WorkerThread::StopResult::Ended);
    EXPECT_LT(MsSince(start), 300);
    EXPECT_GE(opMs.load(), 0);
    EXPECT_LT(opMs.load(), 1000);

    // Work queued after the stop never runs: its completion says so.
    bool ran = false;
    b.worker->Post<int>(
        "link",
        [&](Session&) {
            ran = true;
            return 1;
        },
        [&](const Completion<int>& c) {
            completed.push_back("late=" + std::to_string(c.value) + (c.cancelled ? "!" : ""));
        });
    b.Settle();
    EXPECT_FALSE(ran);
    EXPECT_EQ(completed, (std::vector<std::string>{"link=0", "late=0!"}));
}

TEST(DeviceWorker, QueuedCommandsSendNothingOnceTheirConnectionClosedEvenAfterAReopen) {
    auto owner = std::make_unique<Bench>();
    Bench& b = *owner;
    const std::uint64_t first = b.channel.Connection();
    struct Outcome {
        bool current = false;
        bool link = false;
        int begin = 99;
        int write = 99;
        std::uint64_t bound = 0;
    };
    const auto exchange = [](Session& s) {
        Outcome out;
        out.bound = s.commands.BoundConnection();
        out.current = s.Current();
        out.link = s.commands.QueryLink();
        out.begin = s.commands.BeginConfig();
        const std::uint8_t byte = 0x5A;
        out.write = s.commands.WriteSettingsMemory({&byte, 1}, 40);
        return out;
    };
    std::vector<Outcome> outcomes;
    const auto keep = [&](const Completion<Outcome>& c) { outcomes.push_back(c.value); };

    b.Block();
    b.worker->Post<Outcome>("settings", exchange, keep);
    b.channel.Close();
    ASSERT_TRUE(b.Open());
    EXPECT_EQ(b.channel.Connection(), first + 1);
    b.keyboard.Log().Clear();
    b.latch->release.Set();
    b.Settle();

    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].bound, first);
    EXPECT_FALSE(outcomes[0].current);
    EXPECT_FALSE(outcomes[0].link);
    EXPECT_EQ(outcomes[0].begin, device::kResultNoReply);
    EXPECT_EQ(outcomes[0].write, device::kResultNoReply);
    EXPECT_TRUE(b.CommandsOnWire().empty());
    std::uint8_t stored = 0;
    b.keyboard.Inspect([&](const sim::Firmware& fw) { stored = fw.Settings().Bytes()[40]; });
    EXPECT_NE(stored, 0x5A);

    // A command set made for the old connection stays dead; work queued now goes out.
    device::CommandSet stale(b.channel, first);
    EXPECT_FALSE(stale.Usable());
    EXPECT_FALSE(stale.QueryLink());
    EXPECT_TRUE(b.CommandsOnWire().empty());

    b.worker->Post<Outcome>("settings", exchange, keep);
    b.Settle();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[1].bound, first + 1);
    EXPECT_TRUE(outcomes[1].current);
    EXPECT_TRUE(outcomes[1].link);
    EXPECT_EQ(outcomes[1].begin, device::kResultSuccess);
    EXPECT_EQ(outcomes[1].write, device::kResultSuccess);
    EXPECT_EQ(b.CommandsOnWire(), (std::vector<int>{170, 1, 6}));
}

}  // namespace
}  // namespace model
