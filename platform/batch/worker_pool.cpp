#include "platform/batch/worker_pool.h"

#include <sched.h>

#include <thread>

namespace batch {

int available_cores() {
  // The cores a job scheduler or taskset left to the process, not the machine's.
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int n = CPU_COUNT(&set);
    if (n > 0) return n;
  }
  const unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? static_cast<int>(n) : 1;
}

}  // namespace batch
