// Saves that cannot be lost. Each save the player makes is cut short, and the files it touched
// are checked afterwards: each holds its old content or the whole new one, never a part, never a
// mix; nothing temporary is left beside them.
//
//   kill: the save runs in a child process that gets SIGKILL at a random moment during it.
//   full: the disk fills up during the save: a small tmpfs filled to each of many levels where a
//         mount can be made (root), otherwise a file-size limit (RLIMIT_FSIZE, SIGXFSZ ignored).
//         A save that failed must have shown exactly one message.
//
// The saves: the close (config.ini and listfile.flt), "Save list file...", "Save  as..." and a
// projector's movie written over an older one.
//
// Usage: rv_save_faults [--kills N] [--full-steps N] [--entries N] [--seed N] [--only NAME]
//                       [--mount 0|1]

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/main_form.h"
#include "playlist/projector.h"
#include "tests/shell/fakes/shell_rig.h"

namespace fs = std::filesystem;

namespace rv::test {
namespace {

struct Options {
  int kills = 1000;
  int fullSteps = 24;
  int entries = 3000;
  unsigned seed = 1;
  std::string only;
  bool mount = true;  // false: always the file-size limit
};

// A file a save may touch: its content before the save (nullopt: absent) and after it.
struct Watched {
  std::string rel;
  std::optional<std::string> before, after;
};

// One save: what it starts from, and the save itself (run in a child process).
struct Save {
  std::string name;
  std::vector<Watched> files;
  std::function<void(ShellRig&, MainForm&)> prepare;  // once, before the child is forked
  std::function<void(ShellRig&, MainForm&)> run;
};

std::string bytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

std::string listOf(ShellRig& rig, int n, const char* prefix, const char* head = "") {
  std::string out = std::string(head) + std::to_string(n) + "\r\n";
  for (int i = 0; i < n; ++i) out += rig.dir.path() + numbered(prefix, i, ".swf") + "\r\n";
  return out;
}

std::vector<std::string> entriesOf(ShellRig& rig, int n, const char* prefix) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(rig.dir.path() + numbered(prefix, i, ".swf"));
  return out;
}

std::vector<Save> saves(const Options& o) {
  std::vector<Save> all;
  const int n = o.entries;

  Save close{"close", {}, {}, {}};
  close.prepare = [n](ShellRig& rig, MainForm& form) {
    dispatch(form, [&] { form.FormCreate({}); });
    form.flashlist.items = entriesOf(rig, n, "films/new");
    form.left = 321;
    form.openinitialdir = "/home/someone/films/";
    form.item("listloop").enabled = true;
    form.item("listloop").click();
  };
  close.run = [](ShellRig&, MainForm& form) { dispatch(form, [&] { form.FormClose(); }); };
  all.push_back(close);

  Save list{"save list file", {}, {}, {}};
  list.prepare = [n](ShellRig& rig, MainForm& form) {
    form.flashlist.items = entriesOf(rig, n, "films/new");
  };
  list.run = [](ShellRig& rig, MainForm& form) {
    rig.dialogs.saveResults.push_back(FileDialogResult{{rig.dir.path("lists/mine.flt")}, 1});
    dispatch(form, [&] { form.savelistfileClick(); });
  };
  all.push_back(list);

  Save copy{"save as", {}, {}, {}};
  copy.prepare = [](ShellRig& rig, MainForm& form) {
    form.flashlist.items = {rig.dir.path("films/big.swf")};
    form.flashlist.itemIndex = 0;
  };
  copy.run = [](ShellRig& rig, MainForm& form) {
    rig.dialogs.saveResults.push_back(FileDialogResult{{rig.dir.path("copies/big.swf")}, 1});
    dispatch(form, [&] { form.saveasClick(); });
  };
  all.push_back(copy);

  Save projector{"projector", {}, {}, {}};
  projector.prepare = [](ShellRig&, MainForm&) {};
  projector.run = [](ShellRig& rig, MainForm& form) {
    dispatch(form, [&] { form.exetoswf(rig.dir.path("game.exe"), rig.dir.path("game.swf")); });
  };
  all.push_back(projector);

  return all;
}

// Writes the files as they are before the save (the rest of the directory is the rig's).
void lay(ShellRig& rig, const std::vector<Watched>& files) {
  for (const auto& w : files) {
    if (w.before)
      rig.dir.write(w.rel, *w.before);
    else
      rig.dir.remove(w.rel);
  }
}

// The old files of each save, written once into a fresh rig.
std::vector<Watched> oldFiles(const std::string& save, ShellRig& rig, const Options& o,
                              size_t movieSize) {
  if (save == "close") {
    std::string ini =
        "[form]\r\nleft=100\r\ntop=100\r\n[variables]\r\nfileindex=-1\r\n"
        "skinname=Default\r\nopeninitialdir=/home/someone/\r\n";
    return {{"config/config.ini", ini, {}},
            {"config/listfile.flt", listOf(rig, o.entries, "films/old"), {}}};
  }
  if (save == "save list file")
    return {{"lists/mine.flt", listOf(rig, o.entries, "films/old", "gameboy\r\n"), {}}};
  if (save == "save as") {
    rig.dir.write("films/big.swf", bytes(movieSize, 7));
    fs::create_directories(rig.dir.path("copies"));
    return {{"copies/big.swf", std::nullopt, {}}};
  }
  // A projector: a program, the movie, the trailer (magic number, movie length).
  std::string exe = bytes(movieSize / 2, 3);
  std::string movie = bytes(movieSize, 5);
  exe += movie;
  const uint32_t magic = kProjectorMagic, len = static_cast<uint32_t>(movie.size());
  exe.append(reinterpret_cast<const char*>(&magic), 4);
  exe.append(reinterpret_cast<const char*>(&len), 4);
  rig.dir.write("game.exe", exe);
  return {{"game.swf", bytes(movieSize / 3, 9), {}}};
}

// Hidden temporary files left beside the watched files; removed once counted.
int sweepTemporaries(ShellRig& rig, const std::vector<Watched>& files) {
  int found = 0;
  for (const auto& w : files) {
    fs::path p = fs::path(rig.dir.path(w.rel));
    const std::string prefix = "." + p.filename().string() + ".";
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(p.parent_path(), ec)) {
      if (e.path().filename().string().rfind(prefix, 0) == 0) {
        ++found;
        fs::remove(e.path(), ec);
      }
    }
  }
  return found;
}

std::optional<std::string> contentOf(ShellRig& rig, const std::string& rel) {
  if (!rig.dir.exists(rel)) return std::nullopt;
  return rig.dir.read(rel);
}

double nowUs() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Runs `child` in a child process and returns its exit code, or -1 when it was killed. With
// `killAfterUs` >= 0 the child is killed that long after it said it starts the save (by calling
// `startSignal`); `savedUs` receives how long the save itself took when it ran to its end.
struct ChildEnd {
  int code;
  double savedUs;
};
int g_report = -1;  // the child's end of the pipe to its parent

// In the child: the save starts now.
void startSignal() {
  const char go = 'g';
  if (write(g_report, &go, 1) != 1) _exit(99);
}

ChildEnd runChild(const std::function<int()>& child, double killAfterUs) {
  std::fflush(nullptr);
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    g_report = fds[1];
    const int code = child();
    _exit(code);
  }
  close(fds[1]);
  char go = 0;
  ChildEnd end{0, 0};
  if (read(fds[0], &go, 1) == 1) {
    const double start = nowUs();
    if (killAfterUs >= 0) {
      timespec ts{static_cast<time_t>(killAfterUs / 1e6),
                  static_cast<long>(std::fmod(killAfterUs, 1e6) * 1000)};
      nanosleep(&ts, nullptr);
      kill(pid, SIGKILL);
    } else {
      // The child closes its end when it ends; the save is over by then.
      char rest;
      while (read(fds[0], &rest, 1) > 0) {
      }
      end.savedUs = nowUs() - start;
    }
  }
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  end.code = WIFSIGNALED(status) ? -1 : WEXITSTATUS(status);
  return end;
}

struct Tally {
  int attempts = 0, killedEarly = 0, finished = 0, damaged = 0, temporaries = 0;
  std::map<std::string, int> outcomes;  // "old+new" and so on
};

// Checks every watched file against its two allowed contents; records the outcome.
bool check(ShellRig& rig, const std::vector<Watched>& files, Tally& t, const std::string& what) {
  std::string outcome;
  bool whole = true;
  for (const auto& w : files) {
    auto now = contentOf(rig, w.rel);
    const char* state = now == w.before ? "old" : now == w.after ? "new" : nullptr;
    if (!state) {
      whole = false;
      std::fprintf(stderr, "DAMAGED %s after %s: %zu bytes\n", w.rel.c_str(), what.c_str(),
                   now ? now->size() : size_t{0});
    }
    outcome += outcome.empty() ? "" : "+";
    outcome += state ? state : "DAMAGED";
  }
  ++t.outcomes[outcome];
  if (!whole) ++t.damaged;
  return whole;
}

// A rig holding the old files of `save`, its form prepared, and the contents the save writes.
struct Stage {
  ShellRig rig;
  std::unique_ptr<MainForm> form;
  std::vector<Watched> files;
  double fullRunUs = 0;
};

// The save of `save`, signalled to the parent as it starts; its end closes the pipe.
int saveInChild(const Save& save, Stage& s) {
  startSignal();
  save.run(s.rig, *s.form);
  close(g_report);  // the save is over: the parent stops its clock
  return static_cast<int>(s.rig.dialogs.messages.size());
}

void stage(Stage& s, const Save& save, const Options& o, size_t movieSize) {
  s.rig.dir.writeAboutMovie();
  s.files = oldFiles(save.name, s.rig, o, movieSize);
  lay(s.rig, s.files);
  s.form = s.rig.form();
  save.prepare(s.rig, *s.form);
  // Once to the end, for the new contents and the length of the save.
  ChildEnd end = runChild([&] { return saveInChild(save, s); }, -1);
  s.fullRunUs = end.savedUs;
  for (auto& w : s.files) w.after = contentOf(s.rig, w.rel);
  lay(s.rig, s.files);
}

int killTest(const Options& o, std::mt19937& rng) {
  int damaged = 0;
  for (const Save& save : saves(o)) {
    if (!o.only.empty() && o.only != save.name) continue;
    Stage s;
    stage(s, save, o, 8 << 20);
    Tally t;
    // Kill moments spread over the whole save and a little past it.
    std::uniform_real_distribution<double> when(0, s.fullRunUs * 1.2);
    for (int i = 0; i < o.kills; ++i) {
      lay(s.rig, s.files);
      ChildEnd end = runChild([&] { return saveInChild(save, s); }, when(rng));
      ++t.attempts;
      if (end.code == -1)
        ++t.killedEarly;
      else
        ++t.finished;
      check(s.rig, s.files, t, save.name + " kill " + std::to_string(i));
      t.temporaries += sweepTemporaries(s.rig, s.files);
    }
    damaged += t.damaged;
    std::printf(
        "kill  %-15s save %.1f ms, %d kills (%d before the child ended), damaged %d, "
        "temporary files left %d; outcomes:",
        save.name.c_str(), s.fullRunUs / 1000, t.attempts, t.killedEarly, t.damaged, t.temporaries);
    for (const auto& [k, v] : t.outcomes) std::printf(" %s=%d", k.c_str(), v);
    std::printf("\n");
  }
  return damaged;
}

// A small tmpfs the test mounts for itself; empty path when no mount can be made.
class SmallDisk {
 public:
  explicit SmallDisk(size_t size) {
    if (size == 0) return;
    char tmpl[] = "/tmp/rv-full-XXXXXX";
    if (!mkdtemp(tmpl)) return;
    const std::string opts = "size=" + std::to_string(size);
    if (geteuid() == 0 && mount("tmpfs", tmpl, "tmpfs", 0, opts.c_str()) == 0) {
      dir_ = tmpl;
    } else {
      rmdir(tmpl);
    }
  }
  ~SmallDisk() {
    if (dir_.empty()) return;
    umount2(dir_.c_str(), MNT_DETACH);
    rmdir(dir_.c_str());
  }
  const std::string& dir() const { return dir_; }
  static size_t freeBytes(const std::string& dir) {
    struct statvfs v;
    return statvfs(dir.c_str(), &v) == 0 ? static_cast<size_t>(v.f_bavail) * v.f_frsize : 0;
  }

 private:
  std::string dir_;
};

// Leaves about `keep` bytes free on the file system of `dir` with one filler file.
void fillTo(const std::string& dir, size_t keep) {
  const std::string filler = dir + "/filler";
  std::remove(filler.c_str());
  size_t free = SmallDisk::freeBytes(dir);
  if (free <= keep) return;
  std::FILE* f = std::fopen(filler.c_str(), "wb");
  std::string block(4096, 'f');
  for (size_t left = free - keep; left >= block.size(); left -= block.size())
    if (std::fwrite(block.data(), 1, block.size(), f) != block.size()) break;
  std::fclose(f);
}

int fullTest(const Options& o) {
  constexpr size_t kMovie = 256 << 10;
  SmallDisk disk(o.mount ? size_t{8} << 20 : 0);
  const char* how = disk.dir().empty() ? "file-size limit" : "tmpfs";
  int damaged = 0;
  for (const Save& save : saves(o)) {
    if (!o.only.empty() && o.only != save.name) continue;
    if (!disk.dir().empty()) setenv("TMPDIR", disk.dir().c_str(), 1);
    Stage s;
    stage(s, save, o, kMovie);
    size_t newBytes = 0;
    for (const auto& w : s.files) newBytes += w.after ? w.after->size() : 0;
    Tally t;
    int failedSaves = 0, wrongMessages = 0;
    for (int step = 0; step <= o.fullSteps; ++step) {
      // From no room at all to room for everything the save writes.
      const size_t room = newBytes * static_cast<size_t>(step) / static_cast<size_t>(o.fullSteps);
      lay(s.rig, s.files);
      if (!disk.dir().empty()) fillTo(disk.dir(), room);
      ChildEnd end = runChild(
          [&] {
            if (disk.dir().empty()) {
              signal(SIGXFSZ, SIG_IGN);
              rlimit lim{room, room};
              setrlimit(RLIMIT_FSIZE, &lim);
            }
            return saveInChild(save, s);
          },
          -1);
      ++t.attempts;
      const bool whole = check(s.rig, s.files, t, save.name + " with room " + std::to_string(room));
      bool saved = true;
      for (const auto& w : s.files) saved = saved && contentOf(s.rig, w.rel) == w.after;
      if (!saved) ++failedSaves;
      // A failed save says so once; a save that went through says nothing.
      if (whole && end.code != (saved ? 0 : 1)) {
        ++wrongMessages;
        std::fprintf(stderr, "%s with room %zu: %d messages\n", save.name.c_str(), room, end.code);
      }
      t.temporaries += sweepTemporaries(s.rig, s.files);
    }
    if (!disk.dir().empty()) std::remove((disk.dir() + "/filler").c_str());
    damaged += t.damaged + wrongMessages + t.temporaries;
    std::printf(
        "full  %-15s (%s) %d saves tried, %d failed, damaged %d, wrong message counts "
        "%d, temporary files left %d; outcomes:",
        save.name.c_str(), how, t.attempts, failedSaves, t.damaged, wrongMessages, t.temporaries);
    for (const auto& [k, v] : t.outcomes) std::printf(" %s=%d", k.c_str(), v);
    std::printf("\n");
  }
  return damaged;
}

}  // namespace
}  // namespace rv::test

int main(int argc, char** argv) {
  rv::test::Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--kills")
      o.kills = std::atoi(argv[i + 1]);
    else if (a == "--full-steps")
      o.fullSteps = std::atoi(argv[i + 1]);
    else if (a == "--entries")
      o.entries = std::atoi(argv[i + 1]);
    else if (a == "--seed")
      o.seed = static_cast<unsigned>(std::atoi(argv[i + 1]));
    else if (a == "--only")
      o.only = argv[i + 1];
    else if (a == "--mount")
      o.mount = std::atoi(argv[i + 1]) != 0;
    else {
      std::fprintf(stderr, "unknown option %s\n", a.c_str());
      return 2;
    }
  }
  std::mt19937 rng(o.seed);
  int bad = 0;
  if (o.kills > 0) bad += rv::test::killTest(o, rng);
  if (o.fullSteps > 0) bad += rv::test::fullTest(o);
  std::printf("%s\n", bad ? "FAILED" : "all saves whole");
  return bad ? 1 : 0;
}
