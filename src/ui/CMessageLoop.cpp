// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CMessageLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <unordered_map>

#include "platform/Event.h"
#include "ui/IMessageTarget.h"
#include "ui/ManualClock.h"

namespace ui {

namespace {

// Which loop serves each window handle, for senders on other threads.
std::mutex g_registryMutex;
std::unordered_map<WindowHandle, CMessageLoop*>& Registry() {
    static std::unordered_map<WindowHandle, CMessageLoop*> registry;
    return registry;
}
std::atomic<WindowHandle> g_nextHandle{1};
thread_local CMessageLoop* t_current = nullptr;

constexpr int kRunPendingLimit = 100000;  // a handler that re-posts itself forever

class SteadyClock : public IClock {
public:
    std::int64_t NowMs() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

}  // namespace

std::shared_ptr<IClock> SystemClock() {
    static std::shared_ptr<IClock> clock = std::make_shared<SteadyClock>();
    return clock;
}

// A message sent from another thread: its sender waits on `done`.
struct CMessageLoop::SendState {
    enum class Phase { Queued, Running, Done, Cancelled };
    std::mutex mutex;
    Phase phase = Phase::Queued;
    std::intptr_t result = 0;
    platform::Event done{platform::Event::Mode::ManualReset};

    void Finish(std::intptr_t value) {
        {
            std::lock_guard lock(mutex);
            if (phase == Phase::Cancelled) return;
            phase = Phase::Done;
            result = value;
        }
        done.Set();
    }
};

struct CMessageLoop::Item {
    WindowHandle target = 0;
    unsigned msg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::shared_ptr<void> payload;
    std::function<void()> task;
    std::shared_ptr<SendState> send;
};

struct CMessageLoop::Timer {
    const void* owner = nullptr;
    unsigned id = 0;
    unsigned elapse = 1;
    std::int64_t due = 0;
    std::uint64_t serial = 0;  // order among timers due at the same time
    std::shared_ptr<std::function<void()>> fire;
};

CMessageLoop::CMessageLoop(std::shared_ptr<IClock> clock)
    : m_clock(clock ? std::move(clock) : SystemClock()), m_thread(std::this_thread::get_id()) {
    t_current = this;
}

CMessageLoop::~CMessageLoop() {
    {
        std::lock_guard registryLock(g_registryMutex);
        auto& registry = Registry();
        for (auto it = registry.begin(); it != registry.end();) {
            if (it->second == this) it = registry.erase(it);
            else ++it;
        }
    }
    std::deque<Item> pending;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        pending.swap(m_queue);
    }
    for (Item& item : pending) {
        if (item.send) item.send->Finish(0);
    }
    if (t_current == this) t_current = nullptr;
}

CMessageLoop* CMessageLoop::Current() { return t_current; }

// ---- targets

WindowHandle CMessageLoop::AddTarget(IMessageTarget* target) {
    WindowHandle handle = g_nextHandle.fetch_add(1);
    {
        std::lock_guard lock(m_mutex);
        m_targets[handle] = target;
    }
    std::lock_guard registryLock(g_registryMutex);
    Registry()[handle] = this;
    return handle;
}

void CMessageLoop::RemoveTarget(WindowHandle handle) {
    {
        std::lock_guard registryLock(g_registryMutex);
        Registry().erase(handle);
    }
    std::vector<std::shared_ptr<SendState>> released;
    {
        std::lock_guard lock(m_mutex);
        m_targets.erase(handle);
        for (auto it = m_queue.begin(); it != m_queue.end();) {
            if (!it->task && it->target == handle) {
                if (it->send) released.push_back(it->send);
                it = m_queue.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& send : released) send->Finish(0);
}

IMessageTarget* CMessageLoop::FindTarget(WindowHandle handle) const {
    std::lock_guard lock(m_mutex);
    auto it = m_targets.find(handle);
    return it == m_targets.end() ? nullptr : it->second;
}

// ---- any thread

bool CMessageLoop::Enqueue(Item item) {
    std::shared_ptr<const std::function<void()>> wake;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return false;
        m_queue.push_back(std::move(item));
        wake = m_wakeHook;
    }
    m_cv.notify_all();
    if (wake) (*wake)();
    return true;
}

void CMessageLoop::SetWakeHook(std::function<void()> hook) {
    std::lock_guard lock(m_mutex);
    if (hook) m_wakeHook = std::make_shared<const std::function<void()>>(std::move(hook));
    else m_wakeHook.reset();
}

bool CMessageLoop::PostMessage(WindowHandle target, unsigned msg, std::uintptr_t wParam,
                               std::intptr_t lParam, std::shared_ptr<void> payload) {
    std::lock_guard registryLock(g_registryMutex);
    auto it = Registry().find(target);
    if (it == Registry().end()) return false;
    Item item;
    item.target = target;
    item.msg = msg;
    item.wParam = wParam;
    item.lParam = lParam;
    item.payload = std::move(payload);
    return it->second->Enqueue(std::move(item));
}

std::intptr_t CMessageLoop::SendMessage(WindowHandle target, unsigned msg, std::uintptr_t wParam,
                                        std::intptr_t lParam, platform::Event* cancel) {
    std::shared_ptr<SendState> state;
    CMessageLoop* sameThreadLoop = nullptr;
    {
        std::lock_guard registryLock(g_registryMutex);
        auto it = Registry().find(target);
        if (it == Registry().end()) return 0;
        if (it->second->IsLoopThread()) {
            sameThreadLoop = it->second;
        } else {
            state = std::make_shared<SendState>();
            Item item;
            item.target = target;
            item.msg = msg;
            item.wParam = wParam;
            item.lParam = lParam;
            item.send = state;
            if (!it->second->Enqueue(std::move(item))) return 0;
        }
    }
    if (sameThreadLoop != nullptr) {
        IMessageTarget* handler = sameThreadLoop->FindTarget(target);
        return handler != nullptr ? handler->HandleLoopMessage(msg, wParam, lParam) : 0;
    }
    if (cancel != nullptr) {
        int which = platform::Event::WaitAny(*cancel, state->done, -1);
        if (which == 0) {
            std::unique_lock lock(state->mutex);
            if (state->phase == SendState::Phase::Queued) {
                // Never started: the loop will skip it.
                state->phase = SendState::Phase::Cancelled;
                return 0;
            }
            lock.unlock();
            // Already running: the handler may use what the sender owns, so wait it out.
            state->done.Wait(-1);
        }
    } else {
        state->done.Wait(-1);
    }
    std::lock_guard lock(state->mutex);
    return state->result;
}

bool CMessageLoop::PostTask(std::function<void()> task) {
    Item item;
    item.task = std::move(task);
    return Enqueue(std::move(item));
}

void CMessageLoop::PostQuitMessage(int code) {
    std::shared_ptr<const std::function<void()>> wake;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_quitCode = code;
        wake = m_wakeHook;
    }
    m_cv.notify_all();
    if (wake) (*wake)();
}

bool CMessageLoop::IsQuitting() const {
    std::lock_guard lock(m_mutex);
    return m_quit;
}

// ---- running

void CMessageLoop::Dispatch(Item& item) {
    if (item.task) {
        item.task();
        return;
    }
    if (item.send) {
        std::lock_guard lock(item.send->mutex);
        if (item.send->phase == SendState::Phase::Cancelled) return;
        item.send->phase = SendState::Phase::Running;
    }
    IMessageTarget* handler = FindTarget(item.target);
    std::intptr_t result =
        handler != nullptr ? handler->HandleLoopMessage(item.msg, item.wParam, item.lParam) : 0;
    if (item.send) item.send->Finish(result);
}

bool CMessageLoop::RunOne() {
    Item item;
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty()) return false;
        item = std::move(m_queue.front());
        m_queue.pop_front();
    }
    Dispatch(item);
    return true;
}

bool CMessageLoop::FireOneTimer() {
    const std::int64_t now = Now();
    Timer* next = nullptr;
    for (Timer& timer : m_timers) {
        if (timer.due > now) continue;
        if (next == nullptr || timer.due < next->due ||
            (timer.due == next->due && timer.serial < next->serial))
            next = &timer;
    }
    if (next == nullptr) return false;
    next->due = now + next->elapse;
    next->serial = ++m_timerSerial;
    // The callback may set or kill timers: keep it alive outside the vector.
    std::shared_ptr<std::function<void()>> fire = next->fire;
    (*fire)();
    return true;
}

void CMessageLoop::WaitForWork() {
    if (m_idleHook && m_idleHook()) return;
    std::optional<std::int64_t> due = NextTimerDue();
    std::unique_lock lock(m_mutex);
    if (!m_queue.empty() || m_quit) return;
    if (m_clock->IsManual()) {
        if (due) {
            // Virtual time: jump straight to the next timer.
            if (auto* manual = dynamic_cast<ManualClock*>(m_clock.get())) {
                if (*due > manual->NowMs()) manual->Set(*due);
            }
            return;
        }
        m_cv.wait(lock, [this] { return !m_queue.empty() || m_quit; });
        return;
    }
    if (due) {
        std::int64_t wait = std::max<std::int64_t>(0, *due - Now());
        m_cv.wait_for(lock, std::chrono::milliseconds(wait),
                      [this] { return !m_queue.empty() || m_quit; });
    } else {
        m_cv.wait(lock, [this] { return !m_queue.empty() || m_quit; });
    }
}

int CMessageLoop::Run() {
    // As with a quit message, what was queued before the quit still runs first.
    for (;;) {
        if (RunOne()) continue;
        if (IsQuitting()) break;
        if (!FireOneTimer()) WaitForWork();
    }
    std::lock_guard lock(m_mutex);
    m_quit = false;
    return m_quitCode;
}

bool CMessageLoop::RunModal(const std::function<bool()>& done) {
    ++m_modalDepth;
    bool finished = false;
    for (;;) {
        if (done()) {
            finished = true;
            break;
        }
        if (RunOne()) continue;
        if (IsQuitting()) break;
        if (!FireOneTimer()) {
            if (done()) {
                finished = true;
                break;
            }
            WaitForWork();
        }
    }
    --m_modalDepth;
    return finished;
}

int CMessageLoop::RunPending() {
    int count = 0;
    while (count < kRunPendingLimit) {
        if (RunOne() || FireOneTimer()) ++count;
        else break;
    }
    return count;
}

int CMessageLoop::AdvanceTime(std::int64_t ms) {
    auto* manual = dynamic_cast<ManualClock*>(m_clock.get());
    if (manual == nullptr) return RunPending();
    const std::int64_t target = manual->NowMs() + std::max<std::int64_t>(0, ms);
    int count = RunPending();
    for (;;) {
        std::optional<std::int64_t> due = NextTimerDue();
        if (!due || *due > target) break;
        if (*due > manual->NowMs()) manual->Set(*due);
        int ran = RunPending();
        count += ran;
        if (ran == 0) break;  // defensive: a due timer always runs
    }
    manual->Set(target);
    return count + RunPending();
}

// ---- timers

void CMessageLoop::SetTimer(const void* owner, unsigned id, unsigned elapseMs,
                            std::function<void()> fire) {
    if (elapseMs == 0) elapseMs = 1;
    auto callback = std::make_shared<std::function<void()>>(std::move(fire));
    for (Timer& timer : m_timers) {
        if (timer.owner == owner && timer.id == id) {
            timer.elapse = elapseMs;
            timer.due = Now() + elapseMs;
            timer.serial = ++m_timerSerial;
            timer.fire = std::move(callback);
            return;
        }
    }
    m_timers.push_back(Timer{owner, id, elapseMs, Now() + elapseMs, ++m_timerSerial,
                             std::move(callback)});
}

bool CMessageLoop::KillTimer(const void* owner, unsigned id) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
        return t.owner == owner && t.id == id;
    });
    if (it == m_timers.end()) return false;
    m_timers.erase(it);
    return true;
}

void CMessageLoop::KillTimers(const void* owner) {
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [owner](const Timer& t) { return t.owner == owner; }),
                   m_timers.end());
}

bool CMessageLoop::HasTimer(const void* owner, unsigned id) const {
    return std::any_of(m_timers.begin(), m_timers.end(),
                       [&](const Timer& t) { return t.owner == owner && t.id == id; });
}

std::optional<std::int64_t> CMessageLoop::NextTimerDue() const {
    std::optional<std::int64_t> due;
    for (const Timer& timer : m_timers) {
        if (!due || timer.due < *due) due = timer.due;
    }
    return due;
}

}  // namespace ui
