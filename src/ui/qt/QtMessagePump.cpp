// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtMessagePump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <algorithm>

#include "ui/CMessageLoop.h"

namespace ui::qt {

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

bool QtMessagePump::LoopCanWake() { return true; }

QtMessagePump::QtMessagePump(CMessageLoop& loop, QObject* parent)
    : QObject(parent), m_loop(loop) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        ++m_wakeUps;
        // A poll that found nothing to do leaves the windows alone and polls less often.
        if (m_loop.RunPending() == 0) {
            if (m_pollMs > 0) m_currentPollMs = std::min(m_currentPollMs * 2, m_pollMs * 8);
            ArmTimer();
            return;
        }
        Kick();
    });
    // Work posted by other threads wakes Qt's loop directly, so nothing polls.
    m_loop.SetWakeHook([this] { Wake(); });
    SetPollIntervalMs(0);
    m_loop.SetIdleHook([this] { return Idle(); });
}

QtMessagePump::~QtMessagePump() {
    m_loop.SetIdleHook({});
    m_loop.SetWakeHook({});
}

int QtMessagePump::Run() { return m_loop.Run(); }

void QtMessagePump::Wake() {
    if (m_wakePosted.exchange(true)) return;  // one wake event at a time is enough
    QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
}

bool QtMessagePump::event(QEvent* event) {
    if (event->type() == kWakeEvent) {
        m_wakePosted = false;
        ++m_wakeUps;
        Kick();
        return true;
    }
    return QObject::event(event);
}

int QtMessagePump::Kick() {
    m_currentPollMs = m_pollMs;  // activity: worker answers may follow soon
    const int done = m_loop.RunPending();
    ArmTimer();
    if (m_afterWork && !m_inAfterWork) {
        m_inAfterWork = true;
        m_afterWork();
        m_inAfterWork = false;
    }
    ReturnToLoop();
    return done;
}

void QtMessagePump::ReturnToLoop() {
    // Inside the idle wait, Qt may go back to sleep after this event; the library's loop
    // must first see what just happened (a modal window closed, quit).
    if (m_idleDepth > 0) {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            dispatcher->wakeUp();
    }
}

void QtMessagePump::ArmTimer() {
    std::optional<std::int64_t> due = m_loop.NextTimerDue();
    long long wait = -1;
    if (due) wait = std::max<long long>(0, *due - m_loop.Now());
    if (m_currentPollMs > 0 && (wait < 0 || wait > m_currentPollMs)) wait = m_currentPollMs;
    if (wait < 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(static_cast<int>(std::min<long long>(wait, 24LL * 3600 * 1000)));
}

bool QtMessagePump::Idle() {
    ArmTimer();
    if (m_afterWork && !m_inAfterWork) {
        m_inAfterWork = true;
        m_afterWork();
        m_inAfterWork = false;
    }
    ++m_idleDepth;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    --m_idleDepth;
    return true;
}

}  // namespace ui::qt
