// Scanning a big directory tree for movies, against `find DIR -name '*.swf'` on the same tree.
// Usage: bench_playlist_scan [TREE_DIR]   (the tree is made there once and reused)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/playlist_timing.h"
#include "playlist/movie_scan.h"

namespace {

constexpr int kTop = 20, kPerTop = 1000, kFilesPerDir = 10;  // 20,020 dirs, 200,000 files

void touch(const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0) close(fd);
}

void makeTree(const std::string& root) {
  if (access((root + "/done").c_str(), F_OK) == 0) return;
  std::printf("making the tree in %s ...\n", root.c_str());
  mkdir(root.c_str(), 0755);
  for (int a = 0; a < kTop; ++a) {
    std::string top = root + "/t" + std::to_string(a);
    mkdir(top.c_str(), 0755);
    for (int b = 0; b < kPerTop; ++b) {
      std::string dir = top + "/d" + std::to_string(b);
      mkdir(dir.c_str(), 0755);
      for (int f = 0; f < kFilesPerDir; ++f) {
        // Every other directory holds one movie: 10,000 in all.
        bool movie = f == 0 && b % 2 == 0;
        touch(dir + "/file" + std::to_string(f) + (movie ? ".swf" : ".dat"));
      }
    }
  }
  touch(root + "/done");
}

bool dropCaches() {
  sync();
  FILE* f = std::fopen("/proc/sys/vm/drop_caches", "w");
  if (!f) return false;
  bool ok = std::fputs("3\n", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root = argc > 1 ? argv[1] : "/tmp/rv-bench-scan-tree";
  makeTree(root);
  const std::string dir = root + "/";
  const std::string find = "find '" + root + "' -name '*.swf' > /dev/null";
  size_t found = 0;
  auto scan = [&] {
    std::vector<std::string> collected;
    rv::collectMovies(dir, collected);
    found = collected.size();
  };
  size_t big = 0;
  auto cacheScan = [&] {  // "Search IE cache" with a 1 KB threshold: one stat per movie
    std::vector<std::string> collected;
    rv::collectCachedMovies(dir, collected, 1024);
    big = collected.size();
  };
  auto runFind = [&] {
    if (std::system(find.c_str()) != 0) std::printf("find failed\n");
  };
  scan();  // warm up
  runFind();
  std::printf("tree: 20,020 directories, 200,000 files; movies found: %zu\n", found);
  double ours = rv::bench::medianMs(7, scan);
  double theirs = rv::bench::medianMs(7, runFind);
  double cache = rv::bench::medianMs(7, cacheScan);
  rv::bench::report("warm cache: scan", ours);
  rv::bench::report("warm cache: cache search, size rule (none big enough)", cache);
  if (big != 0) std::printf("cache search collected %zu empty files\n", big);
  rv::bench::report("warm cache: find -name '*.swf'", theirs);
  std::printf("warm cache: ratio %.2f\n", ours / theirs);

  if (dropCaches()) {
    double coldOurs = rv::bench::medianMs(3, scan, [] { dropCaches(); });
    double coldTheirs = rv::bench::medianMs(3, runFind, [] { dropCaches(); });
    rv::bench::report("cold cache: scan", coldOurs);
    rv::bench::report("cold cache: find -name '*.swf'", coldTheirs);
    std::printf("cold cache: ratio %.2f\n", coldOurs / coldTheirs);
  } else {
    std::printf("cold cache: not measured (cannot drop the page cache here)\n");
  }
  return 0;
}
