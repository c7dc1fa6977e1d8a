// Marching squares on a value grid, with the pieces linked into polylines.

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "brel/VxGeCurveFit.h"

namespace {

// A grid edge: horizontal edges from node (r, c) to (r, c + 1) are 2 * (r * columns + c),
// vertical edges from (r, c) to (r + 1, c) are that plus one.
using EdgeId = long long;

struct Segment {
    EdgeId from, to;
};

bool Above(float value, double level) {
    return !std::isnan(value) && value >= level;
}

}  // namespace

bool VxGeCurveFitGraph::Prepare(const VxGePoint& origin, double spacing, int rows, int columns,
                                std::vector<float> values) {
    if (rows < 2 || columns < 2 || !(spacing > 0.0) ||
        values.size() != static_cast<size_t>(rows) * columns)
        return false;
    m_origin = origin;
    m_spacing = spacing;
    m_rows = rows;
    m_columns = columns;
    m_values = std::move(values);
    m_xs.clear();
    m_ys.clear();
    m_pieces.clear();
    return true;
}

bool VxGeCurveFitGraph::Prepare(std::vector<double> xs, std::vector<double> ys,
                                std::vector<float> values) {
    const int columns = static_cast<int>(xs.size()), rows = static_cast<int>(ys.size());
    auto increasing = [](const std::vector<double>& v) {
        for (size_t i = 1; i < v.size(); ++i)
            if (!(v[i] > v[i - 1])) return false;
        return true;
    };
    if (!increasing(xs) || !increasing(ys)) return false;
    if (!Prepare(VxGePoint(xs.empty() ? 0.0 : xs[0], ys.empty() ? 0.0 : ys[0], 0.0), 1.0, rows,
                 columns, std::move(values)))
        return false;
    m_xs = std::move(xs);
    m_ys = std::move(ys);
    return true;
}

float VxGeCurveFitGraph::Value(int row, int column) const {
    return m_values[static_cast<size_t>(row) * m_columns + column];
}

VxGePoint VxGeCurveFitGraph::Node(int row, int column) const {
    if (!m_xs.empty()) return {m_xs[column], m_ys[row], m_origin.z};
    return {m_origin.x + column * m_spacing, m_origin.y + row * m_spacing, m_origin.z};
}

void VxGeCurveFitGraph::Fit(double level, double /*tolerance*/) {
    m_pieces.clear();
    const long long columns = m_columns;
    auto horizontal = [&](int r, int c) -> EdgeId { return 2 * (r * columns + c); };
    auto vertical = [&](int r, int c) -> EdgeId { return 2 * (r * columns + c) + 1; };
    // Where the level crosses an edge, interpolated between its two nodes.
    auto crossing = [&](EdgeId e) {
        const int r = static_cast<int>((e / 2) / columns), c = static_cast<int>((e / 2) % columns);
        const int r2 = (e & 1) ? r + 1 : r, c2 = (e & 1) ? c : c + 1;
        const double a = Value(r, c), b = Value(r2, c2);
        double t = 0.5;
        if (!std::isnan(a) && !std::isnan(b) && a != b)
            t = std::clamp((level - a) / (b - a), 0.0, 1.0);
        const VxGePoint p = Node(r, c), q = Node(r2, c2);
        return VxGePoint(p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.z);
    };
    std::vector<Segment> segments;
    for (int r = 0; r + 1 < m_rows; ++r)
        for (int c = 0; c + 1 < m_columns; ++c) {
            // Corners counter-clockwise from the lower left; the sides between them.
            const std::array<bool, 4> up{Above(Value(r, c), level), Above(Value(r, c + 1), level),
                                         Above(Value(r + 1, c + 1), level),
                                         Above(Value(r + 1, c), level)};
            const std::array<EdgeId, 4> side{horizontal(r, c), vertical(r, c + 1),
                                             horizontal(r + 1, c), vertical(r, c)};
            // Walking round the cell counter-clockwise, a side from an above corner to a below
            // one is an exit, one from below to above an entry. A piece runs from an exit to an
            // entry, which keeps the above area on its left.
            std::vector<int> exits, entries;
            for (int i = 0; i < 4; ++i) {
                if (up[i] && !up[(i + 1) % 4]) exits.push_back(i);
                if (!up[i] && up[(i + 1) % 4]) entries.push_back(i);
            }
            if (exits.empty()) continue;
            if (exits.size() == 1) {
                segments.push_back({side[exits[0]], side[entries[0]]});
                continue;
            }
            // A saddle: when the mean of the corners is above, the two above corners join
            // across the middle and each piece cuts off a below corner (exit i to entry i + 1);
            // otherwise each piece cuts off an above corner (exit i to entry i - 1). Both cells
            // beside an edge see the same crossing, so the choice never breaks a line.
            const double mean =
                (Value(r, c) + Value(r, c + 1) + Value(r + 1, c + 1) + Value(r + 1, c)) / 4.0;
            const bool joined = !std::isnan(mean) && mean >= level;
            for (int exit : exits)
                segments.push_back({side[exit], side[(exit + (joined ? 1 : 3)) % 4]});
        }
    // Link the segments: each edge is the start of at most one segment and the end of at most
    // one, so following starts from ends makes chains.
    std::unordered_map<EdgeId, size_t> startsAt;
    std::unordered_map<EdgeId, bool> hasEnd;
    for (size_t i = 0; i < segments.size(); ++i) {
        startsAt[segments[i].from] = i;
        hasEnd[segments[i].to] = true;
    }
    std::vector<bool> used(segments.size(), false);
    auto follow = [&](size_t first) {
        VxGePolyline2d piece;
        piece.Append(crossing(segments[first].from));
        size_t i = first;
        for (;;) {
            used[i] = true;
            piece.Append(crossing(segments[i].to));
            const auto next = startsAt.find(segments[i].to);
            if (next == startsAt.end() || used[next->second]) {
                if (next != startsAt.end() && next->second == first) {  // back at the start
                    piece.Points().pop_back();
                    piece.SetClosed(true);
                }
                break;
            }
            i = next->second;
        }
        if (piece.GetNodeNum() >= 2) m_pieces.push_back(std::move(piece));
    };
    for (size_t i = 0; i < segments.size(); ++i)  // open lines start on the grid's edge
        if (!used[i] && !hasEnd.count(segments[i].from)) follow(i);
    for (size_t i = 0; i < segments.size(); ++i)  // what is left closes
        if (!used[i]) follow(i);
}

int VxGeCurveFitGraph::CreateCurve(VxGeObjList& curves) const {
    for (const VxGePolyline2d& piece : m_pieces) curves.Append(piece);
    return static_cast<int>(m_pieces.size());
}

bool PrepareFit(const VxGePoint& origin, double spacing, int rows, int columns,
                const std::vector<float>& values, VxGeCurveFitGraph& graph) {
    return graph.Prepare(origin, spacing, rows, columns, values);
}
