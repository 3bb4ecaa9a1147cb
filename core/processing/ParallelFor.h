#pragma once
// Splits an index range over a few plain threads. Used by the chain operations to
// replay many points at once; every index is handled by exactly one thread, so work
// on distinct points needs no locking and gives the same result as a serial run.
#include <functional>

namespace sondara {

// Number of threads the processing uses (0 = one per core, the default). Tests and
// benchmarks set 1 to force the serial path.
void setProcessingThreads(int threads);
int processingThreads();

// Calls body(begin, end) on consecutive slices of [0, count). Runs serially when
// `parallel` is false, with one thread, or when threads cannot be started. An
// exception thrown by a slice is rethrown here after every thread has ended.
void parallelFor(int count, bool parallel, const std::function<void(int begin, int end)>& body);

}  // namespace sondara
