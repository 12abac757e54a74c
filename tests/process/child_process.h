#pragma once
// Starting the program as a child process with pipes on its standard streams, and reading what
// it writes as it writes it.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace process_test {

class Child {
 public:
  // Runs `program` with `arguments` in `folder`; `before_exec` runs in the child just before
  // the program replaces it (to set limits).
  Child(const std::string& program, const std::vector<std::string>& arguments,
        const std::string& folder, const std::function<void()>& before_exec = {});
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  void write_input(const std::string& text);
  void close_input();
  // Standard output up to the next line feed (without it), waiting at most `seconds`; empty
  // with `timed_out` set when nothing complete came.
  std::string read_output_line(double seconds, bool& timed_out);
  // Waits for the end; the exit status, or 128 + the signal that ended it. Collects the rest of
  // both outputs.
  int wait();

  const std::string& output() const { return output_; }
  const std::string& errors() const { return errors_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int input_ = -1, output_fd_ = -1, errors_fd_ = -1;
  std::string output_, errors_;
  std::size_t output_taken_ = 0;
};

}  // namespace process_test
