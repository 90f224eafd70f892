// Times drawing at 1920×1080 (show all): every movie of the conformance picture suite after its
// first frame and ten more frame intervals, the demo movie, and stress movies written here.
// Reports the median milliseconds per frame of each (CPU time of the drawing thread).
//
//   bench_render_bench [--data DIR] [--reps N] [--only TEXT] [--png DIR]

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "frame_timing.h"
#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"

namespace fs = std::filesystem;
using namespace swf::author;
using swf::Matrix;
using swf::RGBA;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

Matrix transform(double x, double y, double scale, double angle) {
  return {scale * std::cos(angle),
          scale * std::sin(angle),
          -scale * std::sin(angle),
          scale * std::cos(angle),
          x,
          y};
}

std::vector<uint8_t> manyShapes(int count) {
  SwfWriter w(8, 800, 600, 24);
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> pos(0, 15000), size(100, 1200), colour(0, 255);
  for (int i = 1; i <= count; ++i) {
    ShapeBuilder s;
    s.setFill1(
        s.solidFill(RGBA{uint8_t(colour(rng)), uint8_t(colour(rng)), uint8_t(colour(rng)), 255}));
    if (i % 2)
      s.rectangle(0, 0, size(rng), size(rng));
    else
      s.ellipse(0, 0, size(rng) / 2, size(rng) / 2);
    w.defineShape(uint16_t(i), s);
    w.placeObject2(
        placeNew(i, uint16_t(i), Matrix{1, 0, 0, 1, double(pos(rng)), double(pos(rng))}));
  }
  w.showFrame();
  return w.finish();
}

std::vector<uint8_t> manyGradients(int count) {
  SwfWriter w(8, 800, 600, 24);
  std::mt19937 rng(2);
  std::uniform_int_distribution<int> pos(0, 14000), colour(0, 255);
  for (int i = 1; i <= count; ++i) {
    ShapeBuilder s;
    Matrix g{2000.0 / 32768, 0, 0, 2000.0 / 32768, 1000, 1000};
    auto c = [&] {
      return RGBA{uint8_t(colour(rng)), uint8_t(colour(rng)), uint8_t(colour(rng)), 255};
    };
    int fill = i % 2 ? s.linearGradient(g, {{0, c()}, {128, c()}, {255, c()}})
                     : s.radialGradient(g, {{0, c()}, {255, c()}});
    s.setFill1(fill);
    s.rectangle(0, 0, 2000, 2000);
    w.defineShape(uint16_t(i), s);
    w.placeObject2(
        placeNew(i, uint16_t(i), Matrix{1, 0, 0, 1, double(pos(rng)), double(pos(rng))}));
  }
  w.showFrame();
  return w.finish();
}

std::vector<uint8_t> bigBitmap(int side) {
  SwfWriter w(8, 800, 600, 24);
  std::vector<uint32_t> argb(size_t(side) * size_t(side));
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      argb[size_t(y) * size_t(side) + size_t(x)] = 0xff000000u | uint32_t((x * 255 / side) << 16) |
                                                   uint32_t((y * 255 / side) << 8) |
                                                   uint32_t(((x ^ y) & 0xff));
  w.defineBitsLossless2(1, side, side, argb);
  // Ten twips a pixel: a straight edge of a shape record spans at most 65535 twips.
  ShapeBuilder s;
  s.setFill1(s.bitmapFill(1, Matrix{10, 0, 0, 10, 0, 0}, false, true));
  s.rectangle(0, 0, side * 10, side * 10);
  w.defineShape(2, s);
  w.placeObject2(placeNew(1, 2, transform(8000, 2000, 0.36, 0.5)));
  w.showFrame();
  return w.finish();
}

// A full-stage picture under a filter, at the benchmark's own size so that the filter's pixels
// are device pixels: a blur of 10 px, quality 3, or a drop shadow of the same blur.
std::vector<uint8_t> filteredStage(const swf::Filter& filter) {
  SwfWriter w(8, kWidth, kHeight, 24);
  TagList sprite;
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> pos(0, 20 * kWidth), colour(0, 255);
  ShapeBuilder back;
  back.setFill1(back.solidFill(RGBA{40, 60, 90, 255}));
  back.rectangle(0, 0, 20 * kWidth, 20 * kHeight);
  w.defineShape(1, back);
  sprite.placeObject2(placeNew(1, 1));
  for (int i = 2; i <= 40; ++i) {
    ShapeBuilder s;
    s.setFill1(
        s.solidFill(RGBA{uint8_t(colour(rng)), uint8_t(colour(rng)), uint8_t(colour(rng)), 255}));
    s.ellipse(0, 0, 1500, 1000);
    w.defineShape(uint16_t(i), s);
    sprite.placeObject2(
        placeNew(i, uint16_t(i), Matrix{1, 0, 0, 1, double(pos(rng)), double(pos(rng)) * 0.56}));
  }
  sprite.showFrame();
  sprite.end();
  w.defineSprite(100, sprite);
  PlaceParams p = placeNew(1, 100);
  p.filters = swf::FilterList{filter};
  w.placeObject3(p);
  w.showFrame();
  return w.finish();
}

swf::Filter stageBlur() {
  swf::BlurFilter b;
  b.blur = {10, 10, 3};
  return b;
}

swf::Filter stageShadow() {
  swf::DropShadowFilter d;
  d.blur = {10, 10, 3};
  return d;
}

struct Result {
  std::string name;
  double medianMs;
};

fs::path pngDir;  // --png: where to leave the last frame drawn of each movie

void runMovie(swf::Player& p, cairo_surface_t* target, int reps, const std::string& name,
              std::vector<Result>& out) {
  double interval = 1000.0 / p.frameRate();
  for (int i = 0; i < 10; ++i) p.advance(interval);
  auto [ms, first] = rvbench::timeFrames(p, target, kWidth, kHeight, reps);
  if (!pngDir.empty()) {
    std::string file = name;
    for (char& c : file)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
    cairo_surface_write_to_png(target, (pngDir / (file + ".png")).c_str());
  }
  std::printf("%-55s %8.2f ms  (first frame %.2f ms)\n", name.c_str(), ms, first);
  std::fflush(stdout);
  out.push_back({name, ms});
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data = "../shared/conformance/swfdec";
  int reps = 15;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--data") data = argv[i + 1];
    if (a == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
    if (a == "--only") only = argv[i + 1];
    if (a == "--png") pngDir = argv[i + 1];
  }
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);

  std::vector<Result> suite, others;
  std::vector<fs::path> movies;
  if (fs::is_directory(data / "image"))
    for (const auto& e : fs::directory_iterator(data / "image"))
      if (e.path().extension() == ".swf") movies.push_back(e.path());
  std::sort(movies.begin(), movies.end());
  for (const fs::path& m : movies) {
    if (!only.empty() && m.filename().string().find(only) == std::string::npos) continue;
    swf::Player p;
    try {
      p.load(m.string());
    } catch (const std::exception&) {
      continue;
    }
    runMovie(p, target, reps, m.filename().string(), suite);
  }

  fs::path demo = fs::path(RV_PROGRAM_DIR) / "demo" / "demo.swf";
  if (fs::exists(demo) && (only.empty() || std::string("demo").find(only) != std::string::npos)) {
    swf::Player p;
    p.load(demo.string());
    runMovie(p, target, reps, "demo.swf", others);
  }
  struct Stress {
    const char* name;
    std::vector<uint8_t> (*make)();
  } stress[] = {
      {"stress: 10,000 shapes", [] { return manyShapes(10000); }},
      {"stress: 500 gradient fills", [] { return manyGradients(500); }},
      {"stress: 4096x4096 bitmap, scaled and rotated", [] { return bigBitmap(4096); }},
      {"stress: filters, full-stage blur 10 px quality 3",
       [] { return filteredStage(stageBlur()); }},
      {"stress: filters, full-stage drop shadow 10 px quality 3",
       [] { return filteredStage(stageShadow()); }},
  };
  for (const Stress& s : stress) {
    if (!only.empty() && std::string(s.name).find(only) == std::string::npos) continue;
    swf::Player p;
    p.load(swf::loadMovieFromMemory(s.make()), s.name);
    runMovie(p, target, reps, s.name, others);
  }

  if (!suite.empty()) {
    std::vector<double> all;
    for (const Result& r : suite) all.push_back(r.medianMs);
    long over = std::count_if(all.begin(), all.end(), [](double v) { return v > 5; });
    std::printf("\nsuite: %zu movies, median of medians %.2f ms, worst %.2f ms, %ld over 5 ms\n",
                all.size(), rvbench::median(all), *std::max_element(all.begin(), all.end()), over);
  }
  cairo_surface_destroy(target);
  return 0;
}
