#pragma once
// A save writes a temporary file beside its target and renames it when complete; a batch
// killed while saving leaves it behind. Its name carries the process number that made it.

#include <string>
#include <vector>

namespace batch {

// Removes from `folder` the saves' temporary files (".tessaly-PID-....tmp") of processes that
// no longer run, and returns their names. Those of running processes, this one's included,
// stay: they may still be renamed.
std::vector<std::string> remove_stale_temporaries(const std::string& folder);

}  // namespace batch
