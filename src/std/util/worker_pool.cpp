#include "std/util/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Marks the calling thread as running a band for as long as it lives.
thread_local bool tInsideBand = false;

class BandScope {
 public:
  BandScope() : outer_(std::exchange(tInsideBand, true)) {}
  BandScope(const BandScope&) = delete;
  BandScope& operator=(const BandScope&) = delete;
  ~BandScope() { tInsideBand = outer_; }

 private:
  bool outer_;
};

// The built-in executor: workerCount() - 1 threads, started when first needed, and the
// calling thread, which works on its own tasks until none is left to claim. Because a
// caller always finishes its own tasks, a call completes even while the threads are
// being replaced.
class ThreadPool final : public lcExecutor {
 public:
  explicit ThreadPool(int workers) : workers_(workers) {}
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;
  ~ThreadPool() override { stopThreads(); }

  int workerCount() const override {
    std::lock_guard lock(mutex_);
    return workers_;
  }

  void setWorkerCount(int workers) {
    std::lock_guard resizing(resize_);
    stopThreads();
    std::lock_guard lock(mutex_);
    workers_ = workers;
  }

  void runTasks(std::size_t count, const std::function<void(std::size_t)>& task) override {
    Batch batch(task, count);
    std::unique_lock lock(mutex_);
    startThreads();
    queue_.push_back(&batch);
    wake_.notify_all();
    while (batch.next < batch.count)
      runOne(batch, lock);
    batch.done.wait(lock, [&] { return batch.finished == batch.count; });
  }

 private:
  // The tasks of one runTasks call; it lives on the caller's stack until all are done.
  struct Batch {
    Batch(const std::function<void(std::size_t)>& task, std::size_t count)
        : task(&task), count(count) {}

    const std::function<void(std::size_t)>* task;
    std::size_t count;
    std::size_t next = 0;      // the next task to claim
    std::size_t finished = 0;  // tasks that have returned
    std::condition_variable done;
  };

  // Claims the next task of `batch` and runs it without the lock. Called with the lock.
  void runOne(Batch& batch, std::unique_lock<std::mutex>& lock) {
    const std::size_t index = batch.next++;
    if (batch.next == batch.count) std::erase(queue_, &batch);
    lock.unlock();
    (*batch.task)(index);
    lock.lock();
    if (++batch.finished == batch.count) batch.done.notify_all();
  }

  void workerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      runOne(*queue_.front(), lock);
    }
  }

  // Called with the lock.
  void startThreads() {
    while (!stopping_ && static_cast<int>(threads_.size()) < workers_ - 1)
      threads_.emplace_back([this] { workerLoop(); });
  }

  // Lets every thread finish the task it runs, then joins them.
  void stopThreads() {
    std::vector<std::thread> stopped;
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      stopped.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& thread : stopped)
      thread.join();
    std::lock_guard lock(mutex_);
    stopping_ = false;
  }

  std::mutex resize_;  // one resize at a time
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Batch*> queue_;  // batches with tasks left to claim
  std::vector<std::thread> threads_;
  bool stopping_ = false;
  int workers_;
};

int clampWorkers(long count) {
  return static_cast<int>(std::clamp<long>(count, 1, lcMaxWorkers));
}

const std::shared_ptr<ThreadPool>& builtInPool() {
  static const auto pool =
      std::make_shared<ThreadPool>(clampWorkers(std::thread::hardware_concurrency()));
  return pool;
}

std::mutex installedMutex;
std::shared_ptr<lcExecutor> installed;

// A count asked for from inside a band, 0 when none: resizing joins the pool's threads,
// one of which may be running that very band, so the resize waits until the outermost
// lcRunBands on that thread returns.
std::atomic<int> deferredWorkers{0};

void applyDeferredWorkerCount() {
  if (tInsideBand) return;
  if (const int workers = deferredWorkers.exchange(0); workers != 0)
    builtInPool()->setWorkerCount(workers);
}

// Applies a deferred count when lcRunBands leaves, whether its bands failed or not.
class DeferredCountScope {
 public:
  DeferredCountScope() = default;
  DeferredCountScope(const DeferredCountScope&) = delete;
  DeferredCountScope& operator=(const DeferredCountScope&) = delete;
  ~DeferredCountScope() { applyDeferredWorkerCount(); }
};

}  // namespace

std::shared_ptr<lcExecutor> lcCurrentExecutor() {
  {
    std::lock_guard lock(installedMutex);
    if (installed) return installed;
  }
  return builtInPool();
}

void lcSetExecutor(std::shared_ptr<lcExecutor> executor) {
  std::lock_guard lock(installedMutex);
  installed = std::move(executor);
}

int lcWorkerCount() {
  return lcCurrentExecutor()->workerCount();
}

void lcSetWorkerCount(int count) {
  if (tInsideBand) {
    deferredWorkers = clampWorkers(count);
    return;
  }
  deferredWorkers = 0;
  builtInPool()->setWorkerCount(clampWorkers(count));
}

void lcRunBands(std::span<const lcRowBand> bands,
                const std::function<void(const lcRowBand&)>& work) {
  const DeferredCountScope deferred;
  std::vector<std::exception_ptr> failures(bands.size());
  auto runBand = [&](std::size_t index) {
    BandScope scope;
    try {
      work(bands[index]);
    } catch (...) {
      failures[index] = std::current_exception();
    }
  };
  const std::shared_ptr<lcExecutor> executor = lcCurrentExecutor();
  if (bands.size() < 2 || tInsideBand || executor->workerCount() < 2) {
    for (std::size_t index = 0; index < bands.size(); ++index)
      runBand(index);
  } else {
    executor->runTasks(bands.size(), runBand);
  }
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}
