#include "SunGridRaster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sungrid {

void PointMask::Fill(const AcDbRegionPolygon& polygon) {
    m_rings.clear();
    m_rings.push_back(&polygon.outer);
    for (const AcDbRegionRing& hole : polygon.holes) m_rings.push_back(&hole);
    FillRings();
}

void PointMask::FillRing(const AcDbRegionRing& ring) {
    m_rings.assign(1, &ring);
    FillRings();
}

void PointMask::FillRings() {
    // The edges with their lower end first, so that two rings sharing an edge compute the same
    // crossings to the bit; horizontal edges cross no row line.
    m_edges.clear();
    double minY = INFINITY, maxY = -INFINITY;
    for (const AcDbRegionRing* ring : m_rings) {
        const size_t n = ring->size();
        for (size_t i = 0; i < n; ++i) {
            AcGePoint2d a = (*ring)[i], b = (*ring)[(i + 1) % n];
            if (b.y < a.y || (b.y == a.y && b.x < a.x)) std::swap(a, b);
            if (!(a.y < b.y)) continue;
            m_edges.push_back({a.x, a.y, b.y, (b.x - a.x) / (b.y - a.y)});
            minY = std::min(minY, a.y);
            maxY = std::max(maxY, b.y);
        }
    }
    if (!(minY <= maxY)) return;
    const double s = m_grid.spacing;
    const long lastRow = m_grid.rows, lastColumn = m_grid.columns;
    // Rows whose line y = origin.y + r * s may cross the rings.
    const long r0 = std::max(0L, static_cast<long>(std::ceil((minY - m_grid.origin.y) / s)) - 1);
    const long r1 =
        std::min(lastRow, static_cast<long>(std::floor((maxY - m_grid.origin.y) / s)) + 1);
    for (long r = r0; r <= r1; ++r) {
        const double y = m_grid.origin.y + r * s;
        m_crossings.clear();
        for (const Edge& e : m_edges)
            if (e.lowY <= y && y < e.highY) m_crossings.push_back(e.lowX + (y - e.lowY) * e.slope);
        if (m_crossings.size() < 2) continue;
        if (m_crossings.size() == 2) {
            if (m_crossings[1] < m_crossings[0]) std::swap(m_crossings[0], m_crossings[1]);
        } else {
            std::sort(m_crossings.begin(), m_crossings.end());
        }
        uint8_t* row = m_bits.data() + Index(r, 0);
        for (size_t k = 0; k + 1 < m_crossings.size(); k += 2) {
            // Columns c with x0 <= origin.x + c * s < x1.
            const double c0 = std::ceil((m_crossings[k] - m_grid.origin.x) / s);
            const double c1 = std::ceil((m_crossings[k + 1] - m_grid.origin.x) / s) - 1;
            if (c0 > static_cast<double>(lastColumn) || c1 < 0.0) continue;
            const long from = static_cast<long>(std::max(c0, 0.0));
            const long to = static_cast<long>(std::min(c1, static_cast<double>(lastColumn)));
            if (from <= to) std::memset(row + from, 1, static_cast<size_t>(to - from + 1));
        }
    }
}

}  // namespace sungrid
