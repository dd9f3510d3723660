// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateCheck.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/Event.h"
#include "update/HttpClient.h"
#include "update/UpdateQuery.h"

namespace update {

namespace {

using Clock = std::chrono::steady_clock;

// What a row reads when the check gave up on it.
UpdateInfo Unanswered(const UpdateProduct& row) {
    UpdateInfo info;
    info.localVersion = UpdateQuery::LocalVersionText(row.version, row.hexFlag);
    info.unanswered = true;
    return info;
}

}  // namespace

bool UpdateCheck::Run(const std::vector<UpdateProduct>& rows, const UpdateService& service,
                      platform::Event& stop, const Report& report) {
    return Run(rows, service, stop, report, Limits{});
}

bool UpdateCheck::Run(const std::vector<UpdateProduct>& rows, const UpdateService& service,
                      platform::Event& stop, const Report& report, const Limits& limits) {
    if (stop.IsSet()) return false;
    // Set when the check is stopped or its time is up: every request under way ends.
    platform::Event abort(platform::Event::Mode::ManualReset);
    platform::Event finished(platform::Event::Mode::ManualReset);
    std::mutex reporting;
    std::vector<bool> reported(rows.size(), false);
    std::atomic<std::size_t> next{0};
    const std::size_t workers = std::min(rows.size(), std::max<std::size_t>(1, limits.concurrent));
    std::atomic<std::size_t> running{workers};

    const auto ask = [&] {
        HttpClient client;
        client.Settings().caFile = service.caFile;
        for (std::size_t k = next++; k < rows.size() && !abort.IsSet(); k = next++) {
            const UpdateProduct& row = rows[k];
            UpdateInfo info = UpdateQuery::Ask(client, service.baseUrl, AppKey(row), row.version,
                                               row.hexFlag, &abort, limits.requestMs);
            const std::lock_guard lock(reporting);
            if (abort.IsSet()) break;  // the check ended meanwhile: it reports no more
            reported[k] = true;
            report(k, std::move(info));
        }
        if (--running == 0) finished.Set();
    };
    std::vector<std::thread> threads;
    threads.reserve(workers);
    for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(ask);
    if (workers == 0) finished.Set();

    const auto deadline = Clock::now() + std::chrono::milliseconds(limits.wholeMs);
    bool stopped = false;
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        const int woke = platform::Event::WaitAny(stop, finished, static_cast<int>(left));
        if (woke == 0) stopped = true;
        if (woke >= 0) break;
    }
    {
        const std::lock_guard lock(reporting);
        abort.Set();
    }
    for (std::thread& thread : threads) thread.join();
    if (stopped || stop.IsSet()) return false;
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (!reported[k]) report(k, Unanswered(rows[k]));
    return true;
}

}  // namespace update
