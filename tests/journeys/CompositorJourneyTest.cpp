// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program under real display servers, as a user of a Wayland desktop without a
// tray meets it: Debian's weston with its headless backend (no screen needed), and Xvfb
// for the X11 side. No session bus is given, so no tray host exists. Skipped, with a
// message, where weston, Xvfb or Qt's Wayland platform are not installed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kWaylandSocket = "tx512-wayland";
constexpr const char* kNoBus = "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/tx512-no-bus";

std::optional<fs::path> FindTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

bool QtWaylandInstalled() {
    for (const char* dir :
         {"/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms",
          "/usr/lib/aarch64-linux-gnu/qt6/plugins/platforms", "/usr/lib/qt6/plugins/platforms"}) {
        if (fs::exists(fs::path(dir) / "libqwayland-generic.so")) return true;
    }
    return false;
}

// One display server for one test, in a process group of its own (weston starts helpers).
class DisplayServer {
public:
    DisplayServer(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  const fs::path& log, int keepFd = -1) {
        pid_ = fork();
        if (pid_ != 0) return;
        setpgid(0, 0);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        for (int fd = 3; fd < 256; ++fd) {
            if (fd != keepFd) close(fd);
        }
        for (const std::string& entry : env) putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    ~DisplayServer() {
        if (pid_ <= 0) return;
        kill(-pid_, SIGTERM);
        const auto end = Clock::now() + std::chrono::seconds(3);
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > end) {
                kill(-pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    DisplayServer(const DisplayServer&) = delete;
    DisplayServer& operator=(const DisplayServer&) = delete;
    bool Started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

std::unique_ptr<DisplayServer> StartWeston(const Sandbox& sandbox, const fs::path& weston) {
    auto server = std::make_unique<DisplayServer>(
        std::vector<std::string>{weston.string(), "--backend=headless-backend.so",
                                 std::string("--socket=") + kWaylandSocket, "--idle-time=0",
                                 "--width=1280", "--height=800"},
        std::vector<std::string>{"XDG_RUNTIME_DIR=" + (sandbox.Root() / "runtime").string()},
        sandbox.Root() / "weston.log");
    const fs::path socket = sandbox.Root() / "runtime" / kWaylandSocket;
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (!fs::exists(socket) && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(socket) ? std::move(server) : nullptr;
}

// Xvfb picks a free display and writes its number on the descriptor given.
std::unique_ptr<DisplayServer> StartXvfb(const Sandbox& sandbox, const fs::path& xvfb,
                                         std::string& display) {
    int fds[2];
    if (pipe(fds) != 0) return nullptr;
    auto server = std::make_unique<DisplayServer>(
        std::vector<std::string>{xvfb.string(), "-displayfd", std::to_string(fds[1]), "-screen",
                                 "0", "1280x800x24", "-nolisten", "tcp"},
        std::vector<std::string>{}, sandbox.Root() / "xvfb.log", fds[1]);
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
    close(fds[0]);
    if (number.empty()) return nullptr;
    display = ":" + number;
    return server;
}

// The display libraries under Qt are not ours to check: libwayland-client and Qt's Wayland
// plugin leave allocations at exit (some in a library already unloaded, so no suppression
// can name it), and libxkbcommon-x11 hands strndup a name without a terminating zero, which
// strict string checking takes for an overflow. The program's own code is checked by every
// other journey, which runs it on the offscreen platform.
std::string DisplayLibrarySanitizerOptions() {
    const char* options = std::getenv("ASAN_OPTIONS");
    std::string value = options != nullptr ? options : "";
    return "ASAN_OPTIONS=" + value + (value.empty() ? "" : ":") +
           "detect_leaks=0:strict_string_checks=0";
}

std::vector<std::string> WaylandSession() {
    return {std::string("WAYLAND_DISPLAY=") + kWaylandSocket,
            "XDG_SESSION_TYPE=wayland",
            "DISPLAY",
            "QT_QPA_PLATFORM",
            "TX512_TRACE=1",
            kNoBus,
            DisplayLibrarySanitizerOptions()};
}

std::vector<std::string> X11Session(const std::string& display) {
    return {"DISPLAY=" + display, "XDG_SESSION_TYPE=x11", "WAYLAND_DISPLAY",
            "QT_QPA_PLATFORM",    "TX512_TRACE=1",        kNoBus,
            DisplayLibrarySanitizerOptions()};
}

// Waits for `text` on the program's standard error; the time it took, or nothing.
std::optional<Clock::duration> WaitForError(StartedCommand& program, const std::string& text,
                                            Clock::time_point since, int timeoutMs = 20000) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        if (program.ErrorSoFar().find(text) != std::string::npos) return Clock::now() - since;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}

struct Shown {
    int width = 0, height = 0, minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    std::string platform;
};

std::optional<Shown> MainWindowShown(const std::string& err) {
    static const std::regex line(
        R"(window shown: main (\d+)x(\d+), min (\d+)x(\d+), max (\d+)x(\d+), platform (\w+))");
    std::smatch m;
    if (!std::regex_search(err, m, line)) return std::nullopt;
    return Shown{std::stoi(m[1]),
                 std::stoi(m[2]),
                 std::stoi(m[3]),
                 std::stoi(m[4]),
                 std::stoi(m[5]),
                 std::stoi(m[6]),
                 m[7]};
}

class CompositorJourney : public ::testing::Test {
protected:
    void SetUp() override {
        const auto weston = FindTool("weston");
        if (!weston) GTEST_SKIP() << "weston is not installed (Debian: apt-get install weston)";
        if (!QtWaylandInstalled())
            GTEST_SKIP() << "Qt's Wayland platform is not installed (Debian: qt6-wayland)";
        server_ = StartWeston(sandbox_, *weston);
        ASSERT_NE(server_, nullptr) << ReadTextFile(sandbox_.Root() / "weston.log");
    }

    Sandbox sandbox_;
    std::unique_ptr<DisplayServer> server_;
};

TEST_F(CompositorJourney, StartsOnWaylandAtItsFixedSizeAnswersCommandsAndSaysItHasNoTray) {
    const auto started = Clock::now();
    StartedCommand program(sandbox_, {"--simulate"}, WaylandSession());
    ASSERT_TRUE(WaitForError(program, "window shown: main", started)) << program.ErrorSoFar();
    const std::string err = program.ErrorSoFar();
    const auto shown = MainWindowShown(err);
    ASSERT_TRUE(shown) << err;
    EXPECT_EQ(shown->platform, "wayland");
    EXPECT_EQ(shown->width, 1000);
    EXPECT_EQ(shown->height, 640);
    // Minimum = maximum: what makes a tiling compositor float the window.
    EXPECT_EQ(shown->minWidth, 1000);
    EXPECT_EQ(shown->maxWidth, 1000);
    EXPECT_EQ(shown->minHeight, 640);
    EXPECT_EQ(shown->maxHeight, 640);
    EXPECT_NE(err.find("tray: no tray host"), std::string::npos) << err;

    const CommandRun status = RunCommand(sandbox_, {"status"});
    EXPECT_EQ(status.code, 0) << status.err;
    EXPECT_NE(status.out.find("keyboard: connected"), std::string::npos) << status.out;

    StartedCommand diagnose(sandbox_, {"--diagnose"}, WaylandSession());
    const CommandRun report = diagnose.Wait();
    EXPECT_EQ(report.code, 0);
    EXPECT_NE(report.out.find("Qt platform: wayland (native)"), std::string::npos) << report.out;

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait().code, 0);
}

TEST_F(CompositorJourney, ClosingTheWindowWithoutATrayEndsTheProgram) {
    StartedCommand program(sandbox_, {"--simulate"}, [] {
        auto env = WaylandSession();
        env.push_back("TX512_TEST_CLOSE_WHEN_SHOWN=1");
        return env;
    }());
    const CommandRun run = program.Wait(20000);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("window shown: main"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing to do in the background: ending"), std::string::npos)
        << run.err;
}

TEST_F(CompositorJourney, StartedHiddenWithoutATraySaysHowToOpenTheWindowAndASecondStartOpensIt) {
    const auto started = Clock::now();
    StartedCommand program(sandbox_, {"--hidden", "--simulate"}, WaylandSession());
    ASSERT_TRUE(WaitForError(program, "start telix-tx512 again to open its window", started))
        << program.ErrorSoFar();
    // The scanner's first pass, which shows the window of a plain start, leaves it hidden.
    ASSERT_TRUE(WaitForError(program, "软件标示", started)) << program.ErrorSoFar();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(program.ErrorSoFar().find("window shown: main"), std::string::npos);

    StartedCommand second(sandbox_, {}, WaylandSession());
    EXPECT_EQ(second.Wait().code, 0);
    EXPECT_TRUE(WaitForError(program, "window shown: main", started)) << program.ErrorSoFar();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait().code, 0);
}

// A session bus of the test's own, with the stand-in tray host on it.
struct TrayHostBus {
    std::unique_ptr<DisplayServer> bus;
    std::unique_ptr<DisplayServer> host;
    std::string address;
};

std::unique_ptr<TrayHostBus> StartTrayHost(const Sandbox& sandbox, const fs::path& items) {
    const auto daemon = FindTool("dbus-daemon");
    if (!daemon) return nullptr;
    auto result = std::make_unique<TrayHostBus>();
    int fds[2];
    if (pipe(fds) != 0) return nullptr;
    result->bus = std::make_unique<DisplayServer>(
        std::vector<std::string>{daemon->string(), "--session", "--nofork", "--nopidfile",
                                 "--print-address=" + std::to_string(fds[1])},
        std::vector<std::string>{}, sandbox.Root() / "dbus.log", fds[1]);
    close(fds[1]);
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') result->address.push_back(c);
    close(fds[0]);
    if (result->address.empty()) return nullptr;
    const fs::path log = sandbox.Root() / "tray-host.log";
    result->host = std::make_unique<DisplayServer>(
        std::vector<std::string>{"/usr/bin/python3", TX512_SOURCE_DIR "/tests/support/tray_host.py",
                                 items.string()},
        std::vector<std::string>{"DBUS_SESSION_BUS_ADDRESS=" + result->address}, log);
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (ReadTextFile(log).find("ready") == std::string::npos && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ReadTextFile(log).find("ready") != std::string::npos ? std::move(result) : nullptr;
}

TEST_F(CompositorJourney, WithATrayHostClosingKeepsTheProgramAndTheHostIsFollowed) {
    if (std::system("/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null") != 0)
        GTEST_SKIP() << "the stand-in tray host needs python3-dbus and python3-gi";
    const fs::path items = sandbox_.Root() / "tray-items.txt";
    auto tray = StartTrayHost(sandbox_, items);
    ASSERT_NE(tray, nullptr) << ReadTextFile(sandbox_.Root() / "dbus.log")
                             << ReadTextFile(sandbox_.Root() / "tray-host.log");
    auto env = WaylandSession();
    std::replace(env.begin(), env.end(), std::string(kNoBus),
                 "DBUS_SESSION_BUS_ADDRESS=" + tray->address);
    env.push_back("TX512_TEST_CLOSE_WHEN_SHOWN=1");
    const auto started = Clock::now();
    StartedCommand program(sandbox_, {"--simulate"}, env);
    ASSERT_TRUE(WaitForError(program, "window shown: main", started)) << program.ErrorSoFar();
    EXPECT_NE(program.ErrorSoFar().find("tray: a tray host shows the icon"), std::string::npos)
        << program.ErrorSoFar();
    // Closed, and still there in the tray: its icon registered, commands answered.
    const CommandRun status = RunCommand(sandbox_, {"status"});
    EXPECT_EQ(status.code, 0) << status.err;
    EXPECT_EQ(program.ErrorSoFar().find("ending"), std::string::npos) << program.ErrorSoFar();
    EXPECT_FALSE(ReadTextFile(items).empty()) << "the tray icon never registered";

    // The panel goes away: the program hears of it on the bus.
    tray->host.reset();
    EXPECT_TRUE(WaitForError(program, "tray: no tray host", started, 10000))
        << program.ErrorSoFar();
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait().code, 0);
}

TEST_F(CompositorJourney, FigureStartUpToTheWindowShownUnderWestonAndXvfb) {
    const auto xvfb = FindTool("Xvfb");
    if (!xvfb) GTEST_SKIP() << "Xvfb is not installed (Debian: apt-get install xvfb)";
    std::string display;
    auto x = StartXvfb(sandbox_, *xvfb, display);
    ASSERT_NE(x, nullptr) << ReadTextFile(sandbox_.Root() / "xvfb.log");

    auto measure = [this](const std::vector<std::string>& session, const char* expectPlatform) {
        const auto started = Clock::now();
        StartedCommand program(sandbox_, {"--simulate"}, session);
        const auto took = WaitForError(program, "window shown: main", started);
        const auto shown = MainWindowShown(program.ErrorSoFar());
        program.Signal(SIGTERM);
        EXPECT_EQ(program.Wait().code, 0);
        EXPECT_TRUE(took && shown) << program.ErrorSoFar();
        if (!took || !shown) return -1L;
        EXPECT_EQ(shown->platform, expectPlatform);
        EXPECT_EQ(shown->width, 1000);
        EXPECT_EQ(shown->minHeight, shown->maxHeight);
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(*took).count());
    };
    // Each twice, alternating, the first of each warming the caches.
    long weston = measure(WaylandSession(), "wayland");
    long x11 = measure(X11Session(display), "xcb");
    weston = std::min(weston, measure(WaylandSession(), "wayland"));
    x11 = std::min(x11, measure(X11Session(display), "xcb"));
    std::cout << "[ figures ] start-up to the main window shown (best of 2): weston (wayland) "
              << weston << " ms, Xvfb (xcb) " << x11 << " ms\n";
    RecordProperty("weston_ms", static_cast<int>(weston));
    RecordProperty("xvfb_ms", static_cast<int>(x11));
}

}  // namespace
}  // namespace journeys
