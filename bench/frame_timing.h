#pragma once
// Timing a player's frames for the drawing benchmarks.

#include <cairo.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "swf/player/player.h"

namespace rvbench {

// The CPU time of this thread, in milliseconds: on a machine shared with builds the wall
// clock mostly measures the others.
inline double threadMs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct FrameTimes {
  double median = 0;
  double first = 0;  // the first drawing, which also fills the caches of large fills
};

// Draws the player's current frame `reps` times onto `target` at width × height.
inline FrameTimes timeFrames(const swf::Player& p, cairo_surface_t* target, int width, int height,
                             int reps) {
  std::vector<double> ms;
  for (int i = 0; i < reps; ++i) {
    cairo_t* cr = cairo_create(target);
    double t0 = threadMs();
    p.render(cr, width, height);
    cairo_surface_flush(target);
    ms.push_back(threadMs() - t0);
    cairo_destroy(cr);
  }
  return {median(ms), ms.empty() ? 0 : ms.front()};
}

}  // namespace rvbench
