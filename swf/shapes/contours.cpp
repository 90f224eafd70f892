#include "swf/shapes/contours.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

namespace swf {

namespace {

struct PointKey {
  double x0, y0, x1, y1;
  bool operator==(const PointKey&) const = default;
};

struct PointKeyHash {
  size_t operator()(const PointKey& k) const {
    auto h = [](double d) { return std::hash<double>()(d); };
    size_t s = h(k.x0);
    s = s * 1000003u ^ h(k.y0);
    s = s * 1000003u ^ h(k.x1);
    return s * 1000003u ^ h(k.y1);
  }
};

class VertexInterner {
 public:
  uint32_t id(const PointKey& k) {
    auto [it, inserted] = ids_.try_emplace(k, uint32_t(ids_.size()));
    return it->second;
  }

 private:
  std::unordered_map<PointKey, uint32_t, PointKeyHash> ids_;
};

struct DirectedEdge {
  uint32_t from, to, edge;
  bool reversed;
};

// Chains directed edges into contours, following the order they were given in.
std::vector<Contour> chain(const std::vector<DirectedEdge>& dirs) {
  std::unordered_map<uint32_t, std::vector<uint32_t>> outgoing;
  for (uint32_t i = 0; i < dirs.size(); ++i) outgoing[dirs[i].from].push_back(i);
  std::unordered_map<uint32_t, size_t> cursor;
  std::vector<bool> used(dirs.size(), false);
  std::vector<Contour> contours;
  for (uint32_t first = 0; first < dirs.size(); ++first) {
    if (used[first]) continue;
    Contour c;
    uint32_t cur = first;
    for (;;) {
      used[cur] = true;
      c.push_back({dirs[cur].edge, dirs[cur].reversed});
      uint32_t v = dirs[cur].to;
      if (v == dirs[first].from) break;
      auto out = outgoing.find(v);
      if (out == outgoing.end()) break;
      size_t& k = cursor[v];
      while (k < out->second.size() && used[out->second[k]]) ++k;
      if (k == out->second.size()) break;
      cur = out->second[k];
    }
    contours.push_back(std::move(c));
  }
  return contours;
}

}  // namespace

EdgeVertices vertexIdsByPosition(const std::vector<Edge>& edges) {
  return vertexIdsByPosition(edges, edges);
}

EdgeVertices vertexIdsByPosition(const std::vector<Edge>& a, const std::vector<Edge>& b) {
  VertexInterner interner;
  EdgeVertices v;
  size_t n = std::min(a.size(), b.size());
  v.start.reserve(n);
  v.end.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    v.start.push_back(interner.id({a[i].x0, a[i].y0, b[i].x0, b[i].y0}));
    v.end.push_back(interner.id({a[i].x1, a[i].y1, b[i].x1, b[i].y1}));
  }
  return v;
}

LayerPlan planLayer(const std::vector<Edge>& edges, const EdgeVertices& v) {
  std::map<uint32_t, std::vector<DirectedEdge>> fills, strokes;
  size_t n = std::min(edges.size(), v.start.size());
  for (uint32_t i = 0; i < n; ++i) {
    const Edge& e = edges[i];
    if (e.fill0 != e.fill1) {  // the same fill on both sides bounds nothing
      if (e.fill1) fills[e.fill1].push_back({v.start[i], v.end[i], i, false});
      if (e.fill0) fills[e.fill0].push_back({v.end[i], v.start[i], i, true});
    }
    if (e.line) strokes[e.line].push_back({v.start[i], v.end[i], i, false});
  }
  LayerPlan plan;
  for (auto& [style, dirs] : fills) plan.fills.push_back({style, chain(dirs)});
  for (auto& [style, dirs] : strokes) {
    // Strokes keep their drawing order: a polyline continues only with the edge that follows it.
    std::vector<Contour> contours;
    for (const DirectedEdge& d : dirs) {
      if (!contours.empty() && v.end[contours.back().back().edge] == d.from)
        contours.back().push_back({d.edge, false});
      else
        contours.push_back({{d.edge, false}});
    }
    plan.strokes.push_back({style, std::move(contours)});
  }
  return plan;
}

static void appendEdge(PathData& p, const Edge& e, bool reversed) {
  if (!e.curve)
    reversed ? p.lineTo(e.x0, e.y0) : p.lineTo(e.x1, e.y1);
  else
    reversed ? p.quadTo(e.cx, e.cy, e.x0, e.y0) : p.quadTo(e.cx, e.cy, e.x1, e.y1);
}

PathData fillPath(const std::vector<Edge>& edges, const std::vector<Contour>& contours) {
  PathData p;
  for (const Contour& c : contours) {
    const Edge& first = edges[c.front().edge];
    c.front().reversed ? p.moveTo(first.x1, first.y1) : p.moveTo(first.x0, first.y0);
    for (const ContourStep& s : c) appendEdge(p, edges[s.edge], s.reversed);
    p.close();
  }
  return p;
}

PathData strokePath(const std::vector<Edge>& edges, const std::vector<Contour>& contours,
                    const EdgeVertices& v, bool closeStrokes) {
  PathData p;
  for (const Contour& c : contours) {
    const Edge& first = edges[c.front().edge];
    p.moveTo(first.x0, first.y0);
    for (const ContourStep& s : c) appendEdge(p, edges[s.edge], false);
    if (closeStrokes && c.size() > 1 && v.end[c.back().edge] == v.start[c.front().edge]) p.close();
  }
  return p;
}

}  // namespace swf
