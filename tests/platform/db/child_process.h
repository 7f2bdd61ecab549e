#pragma once
// Child processes of the tests: the record-file tests' child program with
// pipes to its stdin and stdout, and a forked child that runs part of a test
// as a user without root's rights.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <stdio.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace dbtest {

// Runs `body` as a user whom file permissions bind, so that a file without
// read or write permission is refused as it would be to the program's user.
// A test process that is not root runs it as it is. As root, a forked child
// gives `dir` and everything in it to the user "nobody", drops to that user
// and runs `body`; its failures are printed as they happen and fail the
// test. Where no such user exists the test is skipped, and says why.
// `body` must be the rest of the test: what it does happens in the child.
inline void runUnprivileged(const std::string& dir, const std::function<void()>& body) {
  if (geteuid() != 0) {
    body();
    return;
  }
  const passwd* user = getpwnam("nobody");
  if (!user || user->pw_uid == 0) {
    GTEST_SKIP() << "running as root and no unprivileged user \"nobody\" to run as: file permissions not tested";
  }
  const uid_t uid = user->pw_uid;
  const gid_t gid = user->pw_gid;
  fflush(stdout);
  fflush(stderr);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0) << "fork failed";
  if (pid == 0) {
    std::error_code ec;
    [[maybe_unused]] int rc = lchown(dir.c_str(), uid, gid);
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      rc = lchown(it->path().c_str(), uid, gid);
    if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0 || setuid(0) == 0) {
      fprintf(stderr, "cannot drop to the user nobody\n");
      _exit(3);
    }
    // A process whose user changed may not read its own /proc files, which
    // the sanitizers read to report a fault.
    prctl(PR_SET_DUMPABLE, 1);
    const bool failedBefore = ::testing::Test::HasFailure();
    try {
      body();
    } catch (...) {
      ADD_FAILURE() << "an exception left the part run as nobody";
    }
    fflush(stdout);
    fflush(stderr);
    _exit(::testing::Test::HasFailure() && !failedBefore ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const bool passed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  EXPECT_TRUE(passed) << "the part of the test run as the user nobody failed (its failures are printed above); wait status "
      << status;
}

#ifdef LV_DB_CHILD  // the test programs that have a child program

// Starts the child program (LV_DB_CHILD) with pipes to its stdin and stdout.
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

#endif  // LV_DB_CHILD

}  // namespace dbtest
