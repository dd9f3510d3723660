// SPDX-License-Identifier: GPL-3.0-or-later
// What a start or a command line says when another copy already runs, or holds the lock
// without answering, or answers that it has no room: never a silent exit that looks like
// success.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

constexpr int kConnectionMs = 1500;

fs::path RuntimeFile(const Sandbox& sandbox, const char* suffix) {
    return sandbox.Root() / "runtime" / (std::string("TELIX_TX512_keyboard_Driver") + suffix);
}

// A copy that holds the lock the way the program does: flock() on the lock file.
class LockHolder {
public:
    explicit LockHolder(const Sandbox& sandbox)
        : fd_(::open(RuntimeFile(sandbox, ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0);
    }
    ~LockHolder() { ::close(fd_); }

private:
    int fd_;
};

int Listening(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path.c_str());
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(::listen(fd, 4), 0);
    return fd;
}

// One line sent on the running copy's socket and the first line of its answer.
std::string Exchange(const Sandbox& sandbox, const std::string& line) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, RuntimeFile(sandbox, ".sock").c_str());
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size())) {
        timeval tv{20, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        char buffer[4096];
        for (ssize_t n; answer.find('\n') == std::string::npos &&
                        (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return answer;
}

TEST(SecondStartJourney, ASecondStartSaysWhatBecameOfIt) {
    Sandbox sandbox;
    {
        HeadlessProgram program(sandbox, {"--simulate=none"});
        Script script(program);
        script.Wait(200);

        CommandRun run = RunCommand(sandbox, {"--hidden", "--simulate=none"});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.err.find("already running"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;

        // A script would run beside the window, unseen: refused, and it ran nothing.
        const fs::path script2 = sandbox.Root() / "script.txt";
        std::ofstream(script2) << R"({"cmd":"menu","item":"exit"})" << "\n";
        run = RunCommand(sandbox, {"--headless", "--script", script2.string(), "--simulate=none"});
        EXPECT_EQ(run.code, 2) << run.err;
        EXPECT_NE(run.err.find("already running"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_EQ(program.Finish(), 0);
    }

    // The lock is held, but nobody answers on the socket.
    LockHolder holder(sandbox);
    CommandRun run = RunCommand(sandbox, {"--hidden", "--simulate=none"});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("does not answer"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("quit it"), std::string::npos) << run.err;
    run = RunCommand(sandbox, {"--headless", "--script", "-", "--simulate=none"});
    EXPECT_EQ(run.code, 2) << run.err;
}

TEST(SecondStartJourney, ACommandTurnedAwayForWantOfRoomSaysSo) {
    Sandbox sandbox;
    LockHolder holder(sandbox);
    const int listener = Listening(RuntimeFile(sandbox, ".sock"));
    std::thread copy([listener] {
        const int client = ::accept(listener, nullptr, nullptr);
        const std::string line = R"({"type":"refused","reason":"too many connections"})" "\n";
        EXPECT_EQ(::send(client, line.data(), line.size(), MSG_NOSIGNAL), static_cast<ssize_t>(line.size()));
        ::close(client);
    });
    // Give the refusal time to arrive before the command is even sent.
    const CommandRun run = RunCommand(sandbox, {"status"});
    copy.join();
    ::close(listener);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("too many connections"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("older version"), std::string::npos) << run.err;
}

TEST(SecondStartJourney, AFileNameIsTakenInTheFolderTheCommandNames) {
    Sandbox sandbox;
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    const fs::path typedIn = sandbox.Root() / "typed-in";
    fs::create_directories(typedIn);

    std::string answer = Exchange(
        sandbox, R"({"type":"command","version":1,"args":["profile","export","0","rel.json"],"cwd":")" +
                     typedIn.string() + "\"}\n");
    EXPECT_NE(answer.find(R"("code":0)"), std::string::npos) << answer;
    EXPECT_TRUE(fs::exists(typedIn / "rel.json"));

    // Without the folder it was typed in, a relative name means nothing to the running copy.
    answer = Exchange(sandbox, R"({"type":"command","version":1,"args":["profile","export","0","rel2.json"]})"
                               "\n");
    EXPECT_NE(answer.find(R"("code":1)"), std::string::npos) << answer;
    EXPECT_NE(answer.find("relative"), std::string::npos) << answer;
    EXPECT_FALSE(fs::exists(fs::current_path() / "rel2.json"));
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
