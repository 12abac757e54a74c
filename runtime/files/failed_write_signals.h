#pragma once
// Writes that the system refuses must fail as run-time errors, not end the program: a pipe
// whose reader has gone raises SIGPIPE and a write beyond the file-size limit SIGXFSZ, and both
// end a process by default. Ignored, the write fails with EPIPE or EFBIG instead (error 67).

namespace rt {

// Called once by every program that writes files, before the first write.
void ignore_failed_write_signals();

}  // namespace rt
