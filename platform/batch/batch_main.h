#pragma once

namespace batch {

// `tessaly batch [options] SETTINGS.cfg SPECTRUM...`: argv[first] is the first word after
// "batch". Returns the exit status: 0 every spectrum ok, 1 some failed, 2 usage error.
int run_batch(int argc, char** argv, int first);

}  // namespace batch
