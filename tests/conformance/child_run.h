#pragma once
// Runs one conformance movie in a child process with a time limit, so a crash or a hang costs
// one test, not the run. The child's result is a plain struct sent back through a pipe.

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <type_traits>

namespace rv::conformance {

// `failed(reason)` makes the result reported when the child gives none.
template <class Result, class Run, class Failed>
Result runInChild(Run run, double timeLimit, Failed failed) {
  static_assert(std::is_trivially_copyable_v<Result>);
  int fds[2];
  if (pipe(fds) != 0) return run();
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    // The limit is the child's processor time, so a busy machine does not fail slow movies;
    // the wall-clock deadline below only catches a child that waits without working.
    rlimit cpu{rlim_t(timeLimit) + 1, rlim_t(timeLimit) + 2};
    setrlimit(RLIMIT_CPU, &cpu);
    close(fds[0]);
    Result o = run();
    ssize_t n = write(fds[1], &o, sizeof o);
    (void)n;
    _exit(0);
  }
  close(fds[1]);
  Result o;
  size_t got = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeLimit * 20);
  bool timedOut = false;
  while (got < sizeof o) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, int(left.count())) <= 0) continue;
    ssize_t n = read(fds[0], reinterpret_cast<char*>(&o) + got, sizeof o - got);
    if (n <= 0) break;
    got += size_t(n);
  }
  close(fds[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got < sizeof o)
    return failed(timedOut || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) ? "time limit"
                  : WIFSIGNALED(status)                                            ? "crashed"
                                                                                   : "no result");
  return o;
}

}  // namespace rv::conformance
