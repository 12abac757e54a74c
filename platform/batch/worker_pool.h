#pragma once
// The batch's threads: each spectrum is one task, run in a program of its own on one of N
// threads, and the results come back to the calling thread in task order, each as soon as it
// and every task before it are done, so that the output is the same whatever N is.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace batch {

// What one thread does with the tasks it takes; made on that thread, used only there.
template <typename Result>
using TaskRunner = std::function<Result(std::size_t task)>;

// Runs tasks 0..count-1 on `threads` threads (1: on the calling thread, no thread started).
// `make_runner` runs once on each thread and returns that thread's runner. `deliver` runs on
// the calling thread with each result in task order; when it returns false, no further task
// is begun, the running ones finish, and their results are dropped.
template <typename Result>
void run_in_order(std::size_t count, int threads,
                  const std::function<TaskRunner<Result>()>& make_runner,
                  const std::function<bool(Result&&)>& deliver);

// The number of cores this process may run on.
int available_cores();

template <typename Result>
void run_in_order(std::size_t count, int threads,
                  const std::function<TaskRunner<Result>()>& make_runner,
                  const std::function<bool(Result&&)>& deliver) {
  if (threads <= 1 || count <= 1) {
    const TaskRunner<Result> runner = make_runner();
    for (std::size_t i = 0; i < count; ++i)
      if (!deliver(runner(i))) return;
    return;
  }

  struct Shared {
    std::mutex mutex;
    std::condition_variable done;  // a result (or a failure) is in
    std::condition_variable room;  // a result went out: a thread may begin another task
    std::vector<std::optional<Result>> results;  // task i's in slot i % size: a ring
    std::size_t next_task = 0;
    std::size_t delivered = 0;
    bool stopped = false;
    std::exception_ptr failure;
  } shared;
  const std::size_t ahead = 4 * static_cast<std::size_t>(threads);
  shared.results.resize(std::min(count, ahead));
  auto slot = [&](std::size_t task) -> std::optional<Result>& {
    return shared.results[task % shared.results.size()];
  };

  auto work = [&] {
    try {
      const TaskRunner<Result> runner = make_runner();
      for (;;) {
        std::size_t task;
        {
          // Threads run at most a few tasks ahead of the output, so that results waiting for a
          // slow one before them (or for a full pipe) cannot pile up.
          std::unique_lock lock(shared.mutex);
          shared.room.wait(
              lock, [&] { return shared.stopped || shared.next_task < shared.delivered + ahead; });
          if (shared.stopped || shared.next_task == count) return;
          task = shared.next_task++;
        }
        Result result = runner(task);
        std::lock_guard lock(shared.mutex);
        slot(task) = std::move(result);
        shared.done.notify_one();
      }
    } catch (...) {
      std::lock_guard lock(shared.mutex);
      if (!shared.failure) shared.failure = std::current_exception();
      shared.stopped = true;
      shared.done.notify_one();
      shared.room.notify_all();
    }
  };

  std::vector<std::jthread> pool;
  const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(threads), count);
  pool.reserve(wanted);
  for (std::size_t t = 0; t < wanted; ++t) pool.emplace_back(work);

  for (std::size_t i = 0; i < count; ++i) {
    std::optional<Result> result;
    {
      std::unique_lock lock(shared.mutex);
      shared.done.wait(lock, [&] { return slot(i).has_value() || shared.failure; });
      if (!slot(i)) break;  // a thread failed: the tasks from here are lost
      result = std::move(slot(i));
      slot(i).reset();
      shared.delivered = i + 1;
      shared.room.notify_all();
    }
    if (!deliver(std::move(*result))) break;
  }
  {
    std::lock_guard lock(shared.mutex);
    shared.stopped = true;
    shared.room.notify_all();
  }
  pool.clear();  // joins
  if (shared.failure) std::rethrow_exception(shared.failure);
}

}  // namespace batch
