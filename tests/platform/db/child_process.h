#pragma once
// Starts lv_db_child with pipes to its stdin and stdout.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace dbtest {

class ChildProcess {
 public:
  explicit ChildProcess(std::vector<std::string> args) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      std::vector<char*> argv;
      static std::string program = LV_DB_CHILD;
      argv.push_back(program.data());
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      wait();
    }
    if (toChild_ >= 0) close(toChild_);
    if (fromChild_ >= 0) close(fromChild_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }

  // The next line the child writes, without its newline; empty when the
  // child ends or stays silent for `timeout`.
  std::string readLine(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      auto nl = buffered_.find('\n');
      if (nl != std::string::npos) {
        std::string line = buffered_.substr(0, nl);
        buffered_.erase(0, nl + 1);
        return line;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {};
      pollfd p{fromChild_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
      char chunk[256];
      ssize_t n = read(fromChild_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffered_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  void writeLine(const std::string& line) {
    std::string s = line + "\n";
    [[maybe_unused]] ssize_t n = write(toChild_, s.data(), s.size());
  }

  void killHard() {
    if (pid_ > 0 && !reaped_) kill(pid_, SIGKILL);
  }

  // Waits for the child to end; its exit status as waitpid gives it.
  int wait() {
    if (reaped_) return status_;
    waitpid(pid_, &status_, 0);
    reaped_ = true;
    return status_;
  }

  bool exitedCleanly() {
    int s = wait();
    return WIFEXITED(s) && WEXITSTATUS(s) == 0;
  }

 private:
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  bool reaped_ = false;
  int status_ = 0;
  std::string buffered_;
};

}  // namespace dbtest
