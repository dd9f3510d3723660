// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "app/gui/GuiModes.h"
#include "ui/qt/QtEnvironment.h"

namespace app {

namespace {

constexpr int kAnswerMs = 5000;

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

bool WaylandPluginInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return QFileInfo::exists(platforms.filePath(QStringLiteral("libqwayland-generic.so")));
}

// In the child: start Qt, write the platform's name, end without running anything of the
// parent's (no exit handlers, no destructors of static objects).
[[noreturn]] void AnswerInChild(int fd) {
    const int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0) ::dup2(quiet, STDERR_FILENO);  // Qt's complaints are the parent's report
    ui::qt::QtEnvironment::Prepare();
    static int argc = 1;
    static char name[] = "telix-tx512";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const QByteArray platform = QGuiApplication::platformName().toUtf8() + '\n';
    const ssize_t written = ::write(fd, platform.constData(), static_cast<size_t>(platform.size()));
    ::_exit(written == platform.size() ? 0 : 1);
}

std::string ReadAnswer(int fd, pid_t child) {
    std::string answer;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(kAnswerMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) break;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        answer.append(buffer, static_cast<size_t>(got));
        if (answer.find('\n') != std::string::npos || answer.size() > 256) break;
    }
    ::kill(child, SIGKILL);  // done or hung: either way it has nothing more to say
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    const std::size_t line = answer.find('\n');
    return line == std::string::npos ? std::string() : answer.substr(0, line);
}

}  // namespace

QtPlatformFinding ProbeQtPlatform() {
    QtPlatformFinding finding;
    finding.waylandPluginInstalled = WaylandPluginInstalled();
    if (!Set("WAYLAND_DISPLAY") && !Set("DISPLAY") && !Set("QT_QPA_PLATFORM")) return finding;
    finding.probed = true;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return finding;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return finding;
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        AnswerInChild(pipeFds[1]);
    }
    ::close(pipeFds[1]);
    finding.platform = ReadAnswer(pipeFds[0], child);
    ::close(pipeFds[0]);
    return finding;
}

}  // namespace app
