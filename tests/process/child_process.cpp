#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace process_test {
namespace {

void make_pipe(int fds[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
}

// Appends what is readable now; false at the end of the stream.
bool drain(int fd, std::string& into) {
  char buffer[4096];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n <= 0) return false;
  into.append(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace

Child::Child(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& folder, const std::function<void()>& before_exec) {
  int in[2], out[2], err[2];
  make_pipe(in);
  make_pipe(out);
  make_pipe(err);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    if (::chdir(folder.c_str()) != 0) ::_exit(120);
    // The test program's own dispositions must not hide what the program does by itself.
    ::signal(SIGPIPE, SIG_DFL);
    ::signal(SIGXFSZ, SIG_DFL);
    if (before_exec) before_exec();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(121);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  input_ = in[1];
  output_fd_ = out[0];
  errors_fd_ = err[0];
}

Child::~Child() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int fd : {input_, output_fd_, errors_fd_})
    if (fd >= 0) ::close(fd);
}

void Child::write_input(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(input_, text.data() + done, text.size() - done);
    if (n <= 0) throw std::runtime_error("write to the child");
    done += static_cast<std::size_t>(n);
  }
}

void Child::close_input() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

std::string Child::read_output_line(double seconds, bool& timed_out) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  timed_out = false;
  for (;;) {
    const std::size_t end = output_.find('\n', output_taken_);
    if (end != std::string::npos) {
      std::string line = output_.substr(output_taken_, end - output_taken_);
      output_taken_ = end + 1;
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{output_fd_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0 ||
        !drain(output_fd_, output_)) {
      timed_out = true;
      return "";
    }
  }
}

int Child::wait() {
  close_input();
  pollfd p[2] = {{output_fd_, POLLIN, 0}, {errors_fd_, POLLIN, 0}};
  bool open[2] = {true, true};
  while (open[0] || open[1]) {
    for (pollfd& one : p) one.events = POLLIN;
    p[0].fd = open[0] ? output_fd_ : -1;
    p[1].fd = open[1] ? errors_fd_ : -1;
    if (::poll(p, 2, 60000) <= 0) break;
    if (open[0] && p[0].revents) open[0] = drain(output_fd_, output_);
    if (open[1] && p[1].revents) open[1] = drain(errors_fd_, errors_);
  }
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace process_test
