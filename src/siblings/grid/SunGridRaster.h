#pragma once
// Filling plan polygons onto the points of a regular grid, exactly at the points.

#include <cstdint>
#include <vector>

#include "acad/AcDbRegion.h"
#include "solx/SolxSunGrid.h"

namespace sungrid {

// A mask over the points of a grid, one byte a point, row by row.
class PointMask {
public:
    explicit PointMask(const SolxSunGrid& grid)
        : m_grid(grid),
          m_columns(grid.PointColumns()),
          m_bits(static_cast<size_t>(grid.PointCount()), 0) {}

    void Clear() { std::fill(m_bits.begin(), m_bits.end(), uint8_t{0}); }
    bool Get(long row, long column) const { return m_bits[Index(row, column)] != 0; }
    const uint8_t* Row(long row) const { return m_bits.data() + Index(row, 0); }

    // Marks the points inside the polygon (outer ring less its holes, even-odd over all its
    // rings). A point is inside when, along its row, it lies in a span [x0, x1) between two
    // crossings of the row's line y with edges taken half-open in y ([lower end, upper end)),
    // so points on the left and lower edges are in and points on the right and upper edges are
    // out: two polygons that share an edge never both take a point on it, nor both leave it.
    void Fill(const AcDbRegionPolygon& polygon);
    // The same for one ring.
    void FillRing(const AcDbRegionRing& ring);

private:
    size_t Index(long row, long column) const {
        return static_cast<size_t>(row) * static_cast<size_t>(m_columns) +
               static_cast<size_t>(column);
    }
    void FillRings();  // the rings of m_rings

    SolxSunGrid m_grid;
    long m_columns;
    std::vector<uint8_t> m_bits;
    // Scratch of FillRings.
    std::vector<const AcDbRegionRing*> m_rings;
    struct Edge {
        double lowX, lowY, highY, slope;  // the lower end, the upper end's y, dx / dy
    };
    std::vector<Edge> m_edges;
    std::vector<double> m_crossings;
};

}  // namespace sungrid
