// rv-author: writes the movies we ship.
//   rv-author demo OUT.swf
//   rv-author about OUT.swf VERSION
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "movies.h"

namespace {

// Written beside the target and renamed, so a failed run never leaves half a movie.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string tmp = path + ".part";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

int usage() {
  std::fprintf(stderr, "usage: rv-author demo OUT.swf\n       rv-author about OUT.swf VERSION\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  std::string what = argv[1], out = argv[2];
  std::vector<uint8_t> movie;
  try {
    if (what == "demo" && argc == 3)
      movie = rvauthor::demoMovie();
    else if (what == "about" && argc == 4)
      movie = rvauthor::aboutMovie(argv[3]);
    else
      return usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rv-author: %s\n", e.what());
    return 1;
  }
  if (!writeFile(out, movie)) {
    std::fprintf(stderr, "rv-author: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
