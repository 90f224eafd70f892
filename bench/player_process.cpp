// The player as a user starts it, measured from outside:
//   - start-up to the first painted frame of a restored movie (process start to the first paint
//     of the main movie control, which the player reports on standard error when
//     RV_REPORT_FIRST_PAINT is set), median of several starts;
//   - CPU used while that restored movie sits paused, as a share of one core over 10 seconds.
// Runs the built program directory on a copy in /tmp, offscreen.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Child {
  pid_t pid = -1;
  FILE* err = nullptr;
};

Child start(const fs::path& dir) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("RV_REPORT_FIRST_PAINT", "1", 1);
    const std::string exe = (dir / "reelvista").string();
    execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  return {pid, fdopen(fds[0], "r")};
}

bool waitForFirstPaint(Child& c) {
  char line[512];
  while (fgets(line, sizeof line, c.err)) {
    if (std::string(line).rfind("first-paint", 0) == 0) return true;
  }
  return false;
}

void stop(Child& c) {
  kill(c.pid, SIGKILL);
  waitpid(c.pid, nullptr, 0);
  fclose(c.err);
}

// CPU time of all the process's threads, in nanoseconds precision (the scheduler's own count).
double cpuSeconds(pid_t pid) {
  double total = 0;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream f(task.path() / "schedstat");
    unsigned long long ns = 0;
    if (f >> ns) total += double(ns) / 1e9;
  }
  return total;
}

}  // namespace

int main() {
  const fs::path source = RV_PROGRAM_DIR;
  const fs::path dir = fs::temp_directory_path() / "rv-bench-player";
  fs::remove_all(dir);
  fs::copy(source, dir, fs::copy_options::recursive);
  // The last run's movie, restored paused at start-up.
  std::ofstream(dir / "config/listfile.flt") << "1\n" << (dir / "demo/demo.swf").string() << "\n";
  std::ofstream(dir / "config/config.ini", std::ios::app);  // keeps the shipped fileindex=0

  std::vector<double> startups;
  for (int i = 0; i < 9; ++i) {
    auto t0 = Clock::now();
    Child c = start(dir);
    bool painted = waitForFirstPaint(c);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    stop(c);
    if (!painted) {
      std::fprintf(stderr, "the player never reported a painted frame\n");
      return 1;
    }
    startups.push_back(ms);
  }
  std::sort(startups.begin(), startups.end());
  std::printf("start-up to first painted frame, restored movie: median %.1f ms (min %.1f, max %.1f)\n",
              startups[startups.size() / 2], startups.front(), startups.back());

  Child c = start(dir);
  waitForFirstPaint(c);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  std::vector<double> shares;
  for (int i = 0; i < 5; ++i) {
    double cpu0 = cpuSeconds(c.pid);
    auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    shares.push_back(100.0 * (cpuSeconds(c.pid) - cpu0) / wall);
  }
  stop(c);
  std::sort(shares.begin(), shares.end());
  std::printf("CPU while the restored movie is paused: median %.2f%% of a core (5 x 2 s)\n",
              shares[shares.size() / 2]);
  fs::remove_all(dir);
  return 0;
}
