// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/LocalClient.h"
#include "platform/LocalMessage.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/UniqueFd.h"

namespace fs = std::filesystem;
using platform::LocalClient;
using platform::LocalListener;
using platform::LocalMessage;
using platform::SingleInstance;
using platform::UniqueFd;
using namespace std::chrono;

namespace {

// What the listener thread handed over, for the test thread to wait on.
class Inbox {
public:
    LocalListener::Handler Handler() {
        return [this](const LocalMessage& m) -> std::optional<LocalMessage> {
            {
                std::lock_guard lock(mutex_);
                types_.push_back(m.type());
            }
            cv_.notify_all();
            if (m.Is(LocalMessage::kWorkToolQuery)) return LocalMessage::WorkToolTable({2, 3, 0, 2, 1, 0x320F});
            return std::nullopt;
        };
    }
    bool WaitFor(std::size_t count, int ms = 2000) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, milliseconds(ms), [&] { return types_.size() >= count; });
    }
    std::vector<std::string> Types() {
        std::lock_guard lock(mutex_);
        return types_;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> types_;
};

UniqueFd RawConnect(const fs::path& path) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path.c_str());
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) fd.Reset();
    return fd;
}

void SendRaw(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

// True when the server closed `fd` within the limit (reads drained until end of stream).
bool ClosedByServer(int fd, int ms) {
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char buffer[4096];
    for (;;) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno == ECONNRESET)) return true;
        if (n < 0) return false;
    }
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-si-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(dir_);
    }
    fs::path dir_;
    Inbox inbox;  // outlives every listener a test body starts
};

TEST(LocalMessage, EveryTypeSurvivesTheWire) {
    const std::vector<LocalMessage> messages = {
        LocalMessage(LocalMessage::kActivate),
        LocalMessage::WithParams(LocalMessage::kUpdateRelay, -5, INT64_MAX),
        LocalMessage::WithParams(LocalMessage::kLightState, 1, 0),
        LocalMessage::WithParams(LocalMessage::kLightControl, 1, 1),
        LocalMessage(LocalMessage::kWorkToolQuery),
        LocalMessage::WorkToolTable({2, 3, 0, 2, 0xFFFFFFFFu}),
        LocalMessage(LocalMessage::kSubscribe),
    };
    for (const auto& m : messages) {
        const std::string line = m.Encode();
        ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
        auto back = LocalMessage::Parse(std::string_view(line).substr(0, line.size() - 1));
        ASSERT_TRUE(back) << line;
        EXPECT_EQ(back->type(), m.type());
        EXPECT_EQ(back->wparam(), m.wparam());
        EXPECT_EQ(back->lparam(), m.lparam());
        EXPECT_EQ(back->words(), m.words());
    }
    EXPECT_EQ(LocalMessage::WorkToolTable(std::vector<std::uint32_t>(300, 7)).words().size(), 256u);
}

TEST(LocalMessage, RejectsLinesThatAreNotMessages) {
    const char* bad[] = {
        "", "not json", "[1,2]", "{}", R"({"type":5})", R"({"type":"bogus"})",
        R"({"type":"activate"} trailing)", R"({"type":"light_control","wparam":1})",
        R"({"type":"light_control","wparam":"1","lparam":1})",
        R"({"type":"update_relay","wparam":1.5,"lparam":0})",
        R"({"type":"update_relay","wparam":1,"lparam":99999999999999999999})",
        R"({"type":"worktool_table","words":[-1]})", R"({"type":"worktool_table","words":[4294967296]})",
        R"({"type":"worktool_table","words":"x"})", R"({"type":"refused"})",
        R"({"type":"refused","reason":1})", R"({"type":"command","version":1,"args":[],"cwd":7})",
    };
    for (const char* line : bad) EXPECT_FALSE(LocalMessage::Parse(line)) << line;
    std::string deep(5000, '[');
    EXPECT_FALSE(LocalMessage::Parse(deep));
    std::string many = R"({"type":"worktool_table","words":[0)";
    for (int i = 0; i < 256; ++i) many += ",1";
    EXPECT_FALSE(LocalMessage::Parse(many + "]}"));
    // Extra members are ignored, not refused.
    EXPECT_TRUE(LocalMessage::Parse(R"({"type":"activate","from":"tool"})"));
}

TEST(LocalMessage, CommandsCarryTheirWordsAndResultsTheirTexts) {
    const LocalMessage command = LocalMessage::Command({"profile", "apply", "Ünïcode \"quoted\"", ""});
    const std::string line = command.Encode();
    auto back = LocalMessage::Parse(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->version(), LocalMessage::kCommandVersion);
    EXPECT_EQ(back->args(), command.args());
    EXPECT_EQ(back->workingDir(), "");
    const std::string typed = LocalMessage::Command({"status"}, "/home/me/dir \"x\"").Encode();
    back = LocalMessage::Parse(std::string_view(typed).substr(0, typed.size() - 1));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->workingDir(), "/home/me/dir \"x\"");
    const std::string refused = LocalMessage::Refused(LocalMessage::kTooManyConnections).Encode();
    back = LocalMessage::Parse(std::string_view(refused).substr(0, refused.size() - 1));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Is(LocalMessage::kRefused));
    EXPECT_EQ(back->reason(), "too many connections");

    // A result longer than its line allows is cut at a character boundary and still parses.
    std::string huge;
    while (huge.size() < 3 * LocalMessage::kMaxTextBytes) huge += "é";
    const std::string resultLine = LocalMessage::CommandResult(1, huge, "why\n").Encode();
    ASSERT_LT(resultLine.size(), LocalMessage::kMaxLineBytes);
    auto result = LocalMessage::Parse(std::string_view(resultLine).substr(0, resultLine.size() - 1));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->code(), 1);
    EXPECT_LE(result->out().size(), LocalMessage::kMaxTextBytes);
    EXPECT_EQ(result->out().size() % 2, 0u);  // whole two-byte characters only
    EXPECT_EQ(result->err(), "why\n");
    EXPECT_EQ(LocalMessage::Command(std::vector<std::string>(100, "x")).args().size(), LocalMessage::kMaxArgs);

    const char* bad[] = {
        R"({"type":"command","args":["status"]})",
        R"({"type":"command","version":"1","args":["status"]})",
        R"({"type":"command","version":1,"args":"status"})",
        R"({"type":"command","version":1,"args":["status",7]})",
        R"({"type":"command_result","version":1,"code":0,"out":"x"})",
        R"({"type":"command_result","version":1,"code":4294967296,"out":"","err":""})",
    };
    for (const char* b : bad) EXPECT_FALSE(LocalMessage::Parse(b)) << b;
    // Another version still parses: the receiver answers that it speaks another one.
    auto future = LocalMessage::Parse(R"({"type":"command","version":2,"args":[]})");
    ASSERT_TRUE(future);
    EXPECT_EQ(future->version(), 2);
}

TEST(SingleInstanceNames, ComeFromTheProductName) {
    EXPECT_EQ(SingleInstance::FileSafeName(SingleInstance::kProductName), "TELIX_TX512_keyboard_Driver");
    EXPECT_EQ(SingleInstance::FileSafeName("a/../b c"), "a_.._b_c");
    SingleInstance instance("/run/x");
    EXPECT_EQ(instance.LockPath(), fs::path("/run/x/TELIX_TX512_keyboard_Driver.lock"));
    EXPECT_EQ(instance.SocketPath(), fs::path("/run/x/TELIX_TX512_keyboard_Driver.sock"));
}

TEST_F(SingleInstanceTest, SecondCopyWakesTheFirstThroughOwnerOnlyFiles) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First) << first.Error();
    EXPECT_EQ(first.SocketPath().parent_path(), dir_);
    ASSERT_TRUE(first.Serve(inbox.Handler()));

    struct stat st{};
    ASSERT_EQ(::stat(first.LockPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ASSERT_EQ(::stat(first.SocketPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    SingleInstance second;
    EXPECT_EQ(second.Acquire(), SingleInstance::Outcome::Woken);
    EXPECT_FALSE(second.IsFirst());
    EXPECT_FALSE(second.Serve(inbox.Handler()));
    ASSERT_TRUE(inbox.WaitFor(1));
    EXPECT_EQ(inbox.Types(), std::vector<std::string>{"activate"});

    // A second copy going away must not take the first one's socket with it.
    second.Release();
    EXPECT_TRUE(fs::exists(first.SocketPath()));
    first.Release();
    EXPECT_FALSE(fs::exists(first.SocketPath()));
    SingleInstance third;
    EXPECT_EQ(third.Acquire(), SingleInstance::Outcome::First);
}

TEST_F(SingleInstanceTest, ACopyStartedDuringTheTeardownIsWokenAndTheLockGoesLast) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    ASSERT_TRUE(first.Serve(inbox.Handler()));
    bool ran = false;
    first.ReleaseAfter([&] {
        ran = true;
        EXPECT_TRUE(first.IsFirst());
        SingleInstance during;
        EXPECT_EQ(during.Acquire(), SingleInstance::Outcome::Woken);
        EXPECT_TRUE(inbox.WaitFor(1));  // still served, not just locked
    });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(first.IsFirst());
    EXPECT_FALSE(fs::exists(first.SocketPath()));
    SingleInstance after;
    EXPECT_EQ(after.Acquire(), SingleInstance::Outcome::First);
    after.Release();

    // A teardown that fails still lets the next copy start.
    SingleInstance failing;
    ASSERT_EQ(failing.Acquire(), SingleInstance::Outcome::First);
    EXPECT_THROW(failing.ReleaseAfter([] { throw std::runtime_error("teardown"); }),
                 std::runtime_error);
    SingleInstance next;
    EXPECT_EQ(next.Acquire(), SingleInstance::Outcome::First);
}

TEST_F(SingleInstanceTest, ActivationSentBeforeServingIsDeliveredLater) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    SingleInstance second;
    EXPECT_EQ(second.Acquire(), SingleInstance::Outcome::Woken);
    ASSERT_TRUE(first.Serve(inbox.Handler()));
    ASSERT_TRUE(inbox.WaitFor(1));
    EXPECT_EQ(inbox.Types().front(), "activate");
}

TEST_F(SingleInstanceTest, AKilledFirstCopyLeavesNothingThatBlocksTheNextStart) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance copy;
        char ok = copy.Acquire() == SingleInstance::Outcome::First ? 1 : 0;
        if (::write(ready[1], &ok, 1) != 1) _exit(2);
        ::pause();
        _exit(0);
    }
    ::close(ready[1]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(ok, 1);

    {  // while the other process lives, it is the first copy
        SingleInstance second;
        EXPECT_EQ(second.Acquire(), SingleInstance::Outcome::Woken);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(fs::exists(SingleInstance::SocketPathFor(dir_)));  // stale

    SingleInstance next;
    ASSERT_EQ(next.Acquire(), SingleInstance::Outcome::First) << next.Error();
    ASSERT_TRUE(next.Serve(inbox.Handler()));
    SingleInstance later;
    EXPECT_EQ(later.Acquire(), SingleInstance::Outcome::Woken);
    EXPECT_TRUE(inbox.WaitFor(1));
}

TEST_F(SingleInstanceTest, RefusesFoldersAndSocketsOthersControl) {
    ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
    {
        SingleInstance open;
        EXPECT_EQ(open.Acquire(), SingleInstance::Outcome::Refused);
        EXPECT_FALSE(open.IsFirst());
        EXPECT_NE(open.Error().find("writable by others"), std::string::npos);
    }
    ASSERT_EQ(::chmod(dir_.c_str(), 01777), 0);  // sticky: others cannot replace our files
    {
        SingleInstance sticky;
        EXPECT_EQ(sticky.Acquire(), SingleInstance::Outcome::First) << sticky.Error();
    }
    ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
    if (::getuid() != 0) GTEST_SKIP() << "needs root to create a file owned by another user";

    const fs::path socketPath = SingleInstance::SocketPathFor(dir_);
    { std::FILE* f = std::fopen(socketPath.c_str(), "w"); ASSERT_TRUE(f); std::fclose(f); }
    ASSERT_EQ(::chown(socketPath.c_str(), 65534, 65534), 0);
    {
        SingleInstance foreignSocket;
        EXPECT_EQ(foreignSocket.Acquire(), SingleInstance::Outcome::Alone);
        EXPECT_TRUE(foreignSocket.IsFirst());  // no socket, but nobody starts beside it
        EXPECT_TRUE(fs::exists(socketPath));  // left alone
    }
    fs::remove(socketPath);
    ASSERT_EQ(::chown(dir_.c_str(), 65534, 65534), 0);
    SingleInstance foreignFolder;
    EXPECT_EQ(foreignFolder.Acquire(), SingleInstance::Outcome::Refused);
}

TEST_F(SingleInstanceTest, RequestIsAnsweredOrTimesOut) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    ASSERT_TRUE(first.Serve(inbox.Handler()));

    LocalClient client;
    ASSERT_TRUE(client.Connect(first.SocketPath(), 500));
    auto answer = client.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000);
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->Is(LocalMessage::kWorkToolTable));
    EXPECT_EQ(answer->words(), (std::vector<std::uint32_t>{2, 3, 0, 2, 1, 0x320F}));

    // No answer comes for light_control: the wait ends at its limit, the link stays usable.
    auto start = steady_clock::now();
    EXPECT_FALSE(client.Request(LocalMessage::WithParams(LocalMessage::kLightControl, 1, 0), 150));
    auto waited = duration_cast<milliseconds>(steady_clock::now() - start).count();
    EXPECT_GE(waited, 140);
    EXPECT_LT(waited, 1000);
    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(client.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));

    // Nobody listening: no answer, no hang.
    first.Release();
    LocalClient late;
    EXPECT_FALSE(late.Connect(first.SocketPath(), 100));
    EXPECT_FALSE(late.Request(LocalMessage(LocalMessage::kWorkToolQuery), 100));
}

TEST_F(SingleInstanceTest, ALateAnswerReachesItsOwnClientAndKeepsTheConnectionOpen) {
    std::mutex mutex;
    std::vector<std::pair<std::string, LocalListener::Reply>> owed;
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    first.SetDeferredHandler([&](const LocalMessage& m, const LocalListener::Reply& reply) {
        if (!m.Is(LocalMessage::kCommand)) return false;
        std::lock_guard lock(mutex);
        owed.emplace_back(m.args().empty() ? "" : m.args()[0], reply);
        return true;
    });
    // Idle connections close after 100 ms; one owed an answer must not.
    ASSERT_TRUE(first.Serve(inbox.Handler(), {.idleMs = 100}));

    LocalClient a;
    LocalClient b;
    ASSERT_TRUE(a.Connect(first.SocketPath(), 500));
    ASSERT_TRUE(b.Connect(first.SocketPath(), 500));
    ASSERT_TRUE(a.Send(LocalMessage::Command({"a"}), 500));
    ASSERT_TRUE(b.Send(LocalMessage::Command({"b"}), 500));
    // Plain requests are still answered at once meanwhile.
    EXPECT_TRUE(b.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));
    // Real time on purpose: the idle limit of a connection is what passes here.
    std::this_thread::sleep_for(milliseconds(300));
    {
        std::lock_guard lock(mutex);
        ASSERT_EQ(owed.size(), 2u);
        // Answered in the other order, from a thread of their own, one of them twice.
        for (auto it = owed.rbegin(); it != owed.rend(); ++it) {
            std::thread([&] {
                it->second(LocalMessage::CommandResult(0, "for " + it->first, ""));
                it->second(LocalMessage::CommandResult(9, "again", ""));
            }).join();
        }
    }
    auto answerA = a.Receive(1000);
    auto answerB = b.Receive(1000);
    ASSERT_TRUE(answerA);
    ASSERT_TRUE(answerB);
    EXPECT_EQ(answerA->out(), "for a");
    EXPECT_EQ(answerB->out(), "for b");
    EXPECT_FALSE(a.Receive(200));  // the second reply to one request goes nowhere

    // A reply that outlives the listener is dropped quietly.
    LocalClient c;
    ASSERT_TRUE(c.Connect(first.SocketPath(), 500));
    ASSERT_TRUE(c.Send(LocalMessage::Command({"c"}), 500));
    // Real time on purpose: the request reaches the listener before it goes.
    std::this_thread::sleep_for(milliseconds(100));
    first.Release();
    std::lock_guard lock(mutex);
    ASSERT_EQ(owed.size(), 3u);
    owed.back().second(LocalMessage::CommandResult(0, "", ""));
}

TEST_F(SingleInstanceTest, BadLinesAreDroppedWithoutHarmingOtherClients) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    ASSERT_TRUE(first.Serve(inbox.Handler()));

    // Malformed lines are skipped; the same connection goes on working.
    UniqueFd sloppy = RawConnect(first.SocketPath());
    ASSERT_TRUE(sloppy.valid());
    SendRaw(sloppy.get(), "garbage\n{\"type\":\"bogus\"}\n\n{\"type\":\"light_control\",\"wparam\":\"1\"}\n");
    SendRaw(sloppy.get(), LocalMessage::WithParams(LocalMessage::kLightControl, 1, 1).Encode());

    // An over-long line ends that connection, whether or not its end ever arrives.
    UniqueFd endless = RawConnect(first.SocketPath());
    ASSERT_TRUE(endless.valid());
    SendRaw(endless.get(), std::string(LocalMessage::kMaxLineBytes + 100, 'x'));
    UniqueFd huge = RawConnect(first.SocketPath());
    SendRaw(huge.get(), "{\"type\":\"activate\",\"pad\":\"" + std::string(LocalMessage::kMaxLineBytes, 'y') + "\"}\n");

    EXPECT_TRUE(ClosedByServer(endless.get(), 2000));
    EXPECT_TRUE(ClosedByServer(huge.get(), 2000));
    ASSERT_TRUE(inbox.WaitFor(1));

    LocalClient later;
    ASSERT_TRUE(later.Connect(first.SocketPath(), 500));
    EXPECT_TRUE(later.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));
    EXPECT_EQ(inbox.Types(), (std::vector<std::string>{"light_control", "worktool_query"}));
}

TEST_F(SingleInstanceTest, SilentAndGreedyClientsBlockNeitherOthersNorStop) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    LocalListener::Limits limits;
    limits.idleMs = 300;
    limits.maxQueuedBytes = 16 * 1024;
    ASSERT_TRUE(first.Serve(inbox.Handler(), limits));

    UniqueFd silent = RawConnect(first.SocketPath());
    UniqueFd halfLine = RawConnect(first.SocketPath());
    ASSERT_TRUE(silent.valid() && halfLine.valid());
    SendRaw(halfLine.get(), "{\"type\":\"work");
    // Asks again and again but never reads its answers.
    UniqueFd greedy = RawConnect(first.SocketPath());
    std::string queries;
    for (int i = 0; i < 20000; ++i) queries += LocalMessage(LocalMessage::kWorkToolQuery).Encode();
    auto start = steady_clock::now();
    SendRaw(greedy.get(), queries);
    // Its unread answers passed the limit: dropped well before the idle limit would.
    EXPECT_TRUE(ClosedByServer(greedy.get(), 1000));
    EXPECT_LT(duration_cast<milliseconds>(steady_clock::now() - start).count(), limits.idleMs);

    LocalClient polite;
    ASSERT_TRUE(polite.Connect(first.SocketPath(), 500));
    start = steady_clock::now();
    EXPECT_TRUE(polite.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));
    EXPECT_LT(duration_cast<milliseconds>(steady_clock::now() - start).count(), 250);

    EXPECT_TRUE(ClosedByServer(silent.get(), 2000));  // idle limit
    EXPECT_TRUE(ClosedByServer(halfLine.get(), 2000));

    UniqueFd holder = RawConnect(first.SocketPath());
    ASSERT_TRUE(holder.valid());
    start = steady_clock::now();
    first.Release();
    EXPECT_LT(duration_cast<milliseconds>(steady_clock::now() - start).count(), 200);
}

TEST_F(SingleInstanceTest, SubscribersReceiveBroadcastLightState) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    ASSERT_TRUE(first.Serve(inbox.Handler(), {.idleMs = 100}));

    LocalClient subscriber;
    ASSERT_TRUE(subscriber.Connect(first.SocketPath(), 500));
    ASSERT_TRUE(subscriber.Send(LocalMessage(LocalMessage::kSubscribe), 500));
    ASSERT_TRUE(subscriber.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));  // subscribe handled
    LocalClient bystander;
    ASSERT_TRUE(bystander.Connect(first.SocketPath(), 500));

    // Real time on purpose: the idle limit passes.
    std::this_thread::sleep_for(milliseconds(300));  // subscribers outlive the idle limit
    first.Broadcast(LocalMessage::WithParams(LocalMessage::kLightState, 1, 0));
    auto pushed = subscriber.Receive(1000);
    ASSERT_TRUE(pushed);
    EXPECT_TRUE(pushed->Is(LocalMessage::kLightState));
    EXPECT_EQ(pushed->wparam(), 1);
    EXPECT_EQ(pushed->lparam(), 0);
    EXPECT_FALSE(bystander.Receive(200));
    EXPECT_EQ(inbox.Types(), std::vector<std::string>{"worktool_query"});  // subscribe is not handed on
}

// Commands taken by the listener and answered when the test says so.
class OwedCommands {
public:
    LocalListener::DeferredHandler Handler() {
        return [this](const LocalMessage& m, const LocalListener::Reply& reply) {
            if (!m.Is(LocalMessage::kCommand)) return false;
            std::lock_guard lock(mutex_);
            replies_.push_back(reply);
            return true;
        };
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return replies_.size();
    }
    bool WaitFor(std::size_t count) {
        for (int i = 0; i < 200 && Count() < count; ++i) std::this_thread::sleep_for(milliseconds(10));
        return Count() >= count;
    }
    void Answer(std::size_t i, const LocalMessage& answer) {
        std::lock_guard lock(mutex_);
        replies_.at(i)(answer);
    }

private:
    std::mutex mutex_;
    std::vector<LocalListener::Reply> replies_;
};

// The CPU time this process has used, in milliseconds.
long CpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
}

TEST_F(SingleInstanceTest, AClientThatHangsUpWhileOwedAnAnswerCostsNothingAndLosesOnlyItsAnswer) {
    OwedCommands owed;
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    first.SetDeferredHandler(owed.Handler());
    ASSERT_TRUE(first.Serve(inbox.Handler()));

    // Interrupted: sent its command, then went away altogether.
    {
        UniqueFd gone = RawConnect(first.SocketPath());
        ASSERT_TRUE(gone.valid());
        SendRaw(gone.get(), LocalMessage::Command({"light", "mode", "3"}).Encode());
        ASSERT_TRUE(owed.WaitFor(1));
    }
    // Still waiting: only shut its sending side, as a shell pipe into socat does.
    UniqueFd halfClosed = RawConnect(first.SocketPath());
    ASSERT_TRUE(halfClosed.valid());
    SendRaw(halfClosed.get(), LocalMessage::Command({"status"}).Encode());
    ::shutdown(halfClosed.get(), SHUT_WR);
    ASSERT_TRUE(owed.WaitFor(2));

    const long before = CpuMs();
    std::this_thread::sleep_for(milliseconds(1000));
    // Waking only when something happens costs next to nothing; a loop around a hang-up
    // takes whatever share of a core it is given, even on a crowded machine.
    EXPECT_LT(CpuMs() - before, 40) << "the listener keeps waking for a connection that hung up";

    owed.Answer(0, LocalMessage::CommandResult(0, "to nobody", ""));
    owed.Answer(1, LocalMessage::CommandResult(0, "status text", ""));
    std::string answer;
    char buffer[512];
    timeval tv{2, 0};
    ::setsockopt(halfClosed.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    for (ssize_t n; (n = ::recv(halfClosed.get(), buffer, sizeof buffer, 0)) > 0;) {
        answer.append(buffer, static_cast<std::size_t>(n));
        if (answer.find('\n') != std::string::npos) break;
    }
    EXPECT_NE(answer.find("status text"), std::string::npos) << answer;
    LocalClient later;
    ASSERT_TRUE(later.Connect(first.SocketPath(), 500));
    EXPECT_TRUE(later.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));
}

TEST_F(SingleInstanceTest, SubscribersAndIdleClientsNeverCrowdOutACommand) {
    OwedCommands owed;
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    first.SetDeferredHandler(owed.Handler());
    LocalListener::Limits limits;
    ASSERT_TRUE(first.Serve(inbox.Handler(), limits));

    // Every place asked for by a subscriber: only the first few get one.
    std::vector<LocalClient> subscribers(limits.maxConnections);
    std::size_t refused = 0;
    for (auto& s : subscribers) {
        ASSERT_TRUE(s.Connect(first.SocketPath(), 500));
        ASSERT_TRUE(s.Send(LocalMessage(LocalMessage::kSubscribe), 500));
        auto answer = s.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000);
        ASSERT_TRUE(answer);
        if (answer->Is(LocalMessage::kRefused)) {
            ++refused;
            EXPECT_EQ(answer->reason(), LocalMessage::kTooManySubscriptions);
            EXPECT_FALSE(s.Receive(1000));  // and closed
        }
    }
    EXPECT_EQ(refused, limits.maxConnections - limits.maxSubscriptions);

    // The other places taken by clients that connect and say nothing: the one that waited
    // longest makes room for a newcomer.
    std::vector<UniqueFd> idle;
    for (std::size_t i = limits.maxSubscriptions; i < limits.maxConnections; ++i)
        idle.push_back(RawConnect(first.SocketPath()));
    std::this_thread::sleep_for(milliseconds(100));
    LocalClient command;
    ASSERT_TRUE(command.Connect(first.SocketPath(), 500));
    auto answer = command.Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000);
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->Is(LocalMessage::kWorkToolTable));
    EXPECT_TRUE(ClosedByServer(idle.front().get(), 1000));
}

TEST_F(SingleInstanceTest, ANewcomerWithNoPlaceLeftIsToldWhy) {
    OwedCommands owed;
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    first.SetDeferredHandler(owed.Handler());
    ASSERT_TRUE(first.Serve(inbox.Handler(), {.maxConnections = 3, .maxSubscriptions = 2}));
    std::vector<LocalClient> holders(3);
    for (std::size_t i = 0; i < holders.size(); ++i) {
        ASSERT_TRUE(holders[i].Connect(first.SocketPath(), 500));
        const LocalMessage hold = i < 2 ? LocalMessage(LocalMessage::kSubscribe) : LocalMessage::Command({"status"});
        ASSERT_TRUE(holders[i].Send(hold, 500));
        ASSERT_TRUE(holders[i].Request(LocalMessage(LocalMessage::kWorkToolQuery), 1000));
    }
    LocalClient late;
    ASSERT_TRUE(late.Connect(first.SocketPath(), 500));
    auto answer = late.Request(LocalMessage::Command({"status"}), 1000);
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->Is(LocalMessage::kRefused));
    EXPECT_EQ(answer->reason(), LocalMessage::kTooManyConnections);
    EXPECT_EQ(owed.Count(), 1u);  // the late command never ran
}

TEST_F(SingleInstanceTest, ACopyWithoutItsSocketStillHoldsTheLock) {
    // A folder whose socket path is too long for a Unix address.
    const fs::path deep = dir_ / std::string(100, 'd');
    fs::create_directories(deep);
    ::chmod(deep.c_str(), 0700);
    SingleInstance first(deep);
    EXPECT_EQ(first.Acquire(), SingleInstance::Outcome::Alone);
    EXPECT_TRUE(first.IsFirst());
    EXPECT_NE(first.Error().find("too long"), std::string::npos) << first.Error();
    EXPECT_FALSE(first.Serve(inbox.Handler()));

    SingleInstance second(deep);
    EXPECT_EQ(second.Acquire(), SingleInstance::Outcome::Unanswered);
    EXPECT_FALSE(second.IsFirst());
    SingleInstance quiet(deep);
    EXPECT_EQ(quiet.Acquire(SingleInstance::Contact::Leave), SingleInstance::Outcome::Running);
    first.Release();
    SingleInstance next(deep);
    EXPECT_EQ(next.Acquire(), SingleInstance::Outcome::Alone);
}

TEST_F(SingleInstanceTest, AStartLeftAloneDoesNotWakeTheRunningCopy) {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First);
    ASSERT_TRUE(first.Serve(inbox.Handler()));
    SingleInstance script;
    EXPECT_EQ(script.Acquire(SingleInstance::Contact::Leave), SingleInstance::Outcome::Running);
    EXPECT_FALSE(inbox.WaitFor(1, 300));
}

// Without a session runtime folder, another user may take the shared temporary name first.
class SharedRuntimeFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-rt-XXXXXX";
        root_ = ::mkdtemp(pattern);
        fs::create_directories(root_ / "tmp");
        fs::create_directories(root_ / "cache");
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
        shared_ = root_ / "tmp" / ("telix-tx512-" + std::to_string(::getuid()));
    }
    void TearDown() override {
        ::unsetenv("TMPDIR");
        ::unsetenv("XDG_CACHE_HOME");
        fs::remove_all(root_);
    }
    // Both copies meet in the folder chosen, and it is this user's alone.
    void ExpectOneCopyIn(const fs::path& dir) {
        struct stat st{};
        ASSERT_EQ(::lstat(dir.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, ::getuid());
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        SingleInstance first;
        ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::First) << first.Error();
        EXPECT_EQ(first.LockPath().parent_path(), dir);
        SingleInstance second;
        EXPECT_EQ(second.Acquire(), SingleInstance::Outcome::Woken);
    }
    fs::path root_;
    fs::path shared_;
};

TEST_F(SharedRuntimeFolder, IsMadePrivateWhenFreeAndAvoidedWhenItIsALink) {
    EXPECT_EQ(platform::RuntimeDir(), shared_);
    ExpectOneCopyIn(shared_);
    fs::remove_all(shared_);

    // A link by that name, to a folder someone else could read, is not followed.
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directories(elsewhere);
    ::chmod(elsewhere.c_str(), 0755);
    fs::create_directory_symlink(elsewhere, shared_);
    const fs::path own = platform::RuntimeDir();
    EXPECT_EQ(own, root_ / "cache" / "telix-tx512-runtime");
    ExpectOneCopyIn(own);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    // Once there, later copies stay there even when the name is free again.
    fs::remove(shared_);
    EXPECT_EQ(platform::RuntimeDir(), own);
}

TEST_F(SharedRuntimeFolder, OneOwnedByAnotherUserIsNeverUsed) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to create a folder owned by another user";
    fs::create_directories(shared_);
    ::chmod(shared_.c_str(), 0777);
    ASSERT_EQ(::chown(shared_.c_str(), 65534, 65534), 0);
    const fs::path own = platform::RuntimeDir();
    EXPECT_NE(own, shared_);
    ExpectOneCopyIn(own);
    EXPECT_TRUE(fs::is_empty(shared_));

    // Nor one inside a folder another user may write to: then a fresh one of this process.
    ASSERT_EQ(::chown((root_ / "cache").c_str(), 65534, 65534), 0);
    ::chmod((root_ / "cache").c_str(), 0777);
    const fs::path fresh = platform::RuntimeDir();
    EXPECT_EQ(fresh.parent_path(), root_ / "tmp");
    EXPECT_NE(fresh, shared_);
    struct stat st{};
    ASSERT_EQ(::lstat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(platform::RuntimeDir(), fresh);  // the same one for the rest of the run
}

}  // namespace
