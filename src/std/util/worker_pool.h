#pragma once
// Worker threads for pixel kernels. A kernel cuts its rows into bands (row_bands.h) and
// hands them to lcRunBands, which runs them on the process-wide executor and returns
// when all are done. The library brings its own executor, a small pool of std::threads;
// a host that manages threads itself installs its own executor instead.
//
// lcRunBands touches nothing but the bands' work: no thread-local error information is
// set on any worker, and an exception thrown by a band reaches the caller.

#include <cstddef>
#include <functional>
#include <memory>
#include <span>

#include "std/export.h"
#include "std/util/row_bands.h"

class LC_VISIBLE lcExecutor {
 public:
  virtual ~lcExecutor() = default;

  // How many tasks may run at once, the calling thread included; at least 1.
  virtual int workerCount() const = 0;
  // Calls task(i) once for every i in [0, count), on any threads (the caller's among
  // them), and returns when every call has returned. `task` never throws. Several
  // threads may call this at once.
  virtual void runTasks(std::size_t count, const std::function<void(std::size_t)>& task) = 0;
};

// The most workers the built-in pool runs.
inline constexpr int lcMaxWorkers = 64;

// The executor lcRunBands uses: the installed one, else the built-in pool.
LC_CORE_API std::shared_ptr<lcExecutor> lcCurrentExecutor();
// Installs a host's executor; an empty pointer brings the built-in pool back.
LC_CORE_API void lcSetExecutor(std::shared_ptr<lcExecutor> executor);

// The current executor's worker count.
LC_CORE_API int lcWorkerCount();
// Sets the built-in pool's worker count, kept within 1..lcMaxWorkers. It starts with
// the number of hardware threads. Called from inside a band, it cannot stop the threads
// the band's own call occupies: the count is kept and set when the outermost lcRunBands
// of that thread returns, and lcWorkerCount() reports the old count until then.
LC_CORE_API void lcSetWorkerCount(int count);

// Runs work(band) for every band and waits for all of them. Every band runs even when
// another throws; then the exception of the first band that threw, in band order, is
// rethrown here, so the caller sees the same failure however the bands were scheduled.
// Bands run one after the other on the calling thread when there is only one, when the
// executor has one worker, or when the call is made from inside a band (so that a
// nested call never waits for workers that its own caller occupies).
LC_CORE_API void lcRunBands(std::span<const lcRowBand> bands,
                            const std::function<void(const lcRowBand&)>& work);
