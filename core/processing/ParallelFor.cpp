#include "core/processing/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "core/base/TrNoop.h"

namespace sondara {

namespace {
std::atomic<int> g_threads{0};
}

void setProcessingThreads(int threads) {
    g_threads.store(std::max(threads, 0));
}

int processingThreads() {
    int t = g_threads.load();
    if (t <= 0) t = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(t, 1, 64);
}

void parallelFor(int count, bool parallel, const std::function<void(int, int)>& body) {
    if (count <= 0) return;
    const int threads = parallel ? std::min(processingThreads(), count) : 1;
    if (threads <= 1) {
        body(0, count);
        return;
    }
    std::vector<std::exception_ptr> errors(threads);
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    // the texts of the work follow the thread that asked for it (a Chinese report's
    // figures stay Chinese in the English window)
    const bool sourceTexts = !TextsTranslated();
    auto slice = [&](int t) {
        std::optional<SourceTextsScope> chinese;
        if (sourceTexts) chinese.emplace();
        const int begin = static_cast<int>(static_cast<long long>(count) * t / threads);
        const int end = static_cast<int>(static_cast<long long>(count) * (t + 1) / threads);
        try {
            body(begin, end);
        } catch (...) {
            errors[t] = std::current_exception();
        }
    };
    int started = 1;
    for (; started < threads; ++started) {
        try {
            pool.emplace_back(slice, started);
        } catch (const std::system_error&) {
            break;  // no more threads: the calling thread does the rest
        }
    }
    slice(0);
    for (auto& th : pool) th.join();
    // Slices whose thread could not be started run here, in order.
    for (int t = started; t < threads; ++t) slice(t);
    for (auto& e : errors)
        if (e) std::rethrow_exception(e);
}

}  // namespace sondara
