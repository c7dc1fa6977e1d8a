#pragma once
// Contour lines of a regular grid of values: marching squares (Lorensen and Cline's cube cases
// in two dimensions), the crossing on each grid edge found once by linear interpolation and
// shared by the two cells beside it, saddle cells decided by the mean of their corners so that
// neighbouring cells always agree, and the pieces linked into polylines, closed where the line
// closes inside the grid, open where it leaves the grid.

#include <utility>
#include <vector>

#include "brel/VxGeometry.h"

class VxGeCurveFitGraph {
public:
    // The grid: `rows` node rows along y and `columns` node columns along x, `spacing` apart,
    // the first node at `origin`; values row by row from the first row (y = origin.y). A node
    // whose value is not a number is treated as below every level.
    bool Prepare(const VxGePoint& origin, double spacing, int rows, int columns,
                 std::vector<float> values);
    // The same on a grid whose node columns and rows need not be evenly spaced: the node
    // (r, c) lies at (xs[c], ys[r]); both strictly increasing, at least two of each.
    bool Prepare(std::vector<double> xs, std::vector<double> ys, std::vector<float> values);
    // The contour pieces at `level` (the area at or above the level lies to the left of each
    // piece, walking it forwards); `tolerance` is reserved (pass -1). Replaces earlier pieces.
    void Fit(double level, double tolerance = -1.0);
    // Appends the fitted pieces to `curves` as polylines (closed ones closed); the number added.
    int CreateCurve(VxGeObjList& curves) const;
    // Forgets the fitted pieces (the grid stays).
    void Reset() { m_pieces.clear(); }

    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }

private:
    float Value(int row, int column) const;
    VxGePoint Node(int row, int column) const;

    VxGePoint m_origin;
    double m_spacing = 0.0;
    int m_rows = 0, m_columns = 0;
    std::vector<float> m_values;
    std::vector<double> m_xs, m_ys;  // node places of an uneven grid (empty: even spacing)
    std::vector<VxGePolyline2d> m_pieces;
};

// Prepares `graph` from a grid of values (see VxGeCurveFitGraph::Prepare); false when the grid
// has fewer than 2 x 2 nodes, the values do not fill it, or the spacing is not positive.
bool PrepareFit(const VxGePoint& origin, double spacing, int rows, int columns,
                const std::vector<float>& values, VxGeCurveFitGraph& graph);
// Prepares `graph` from a grid of points whose z is the value (a Vx2dArray<VxGePoint> or any
// array of rows with GetRowCount, GetColumnCount and [row][column]): rows of equal y, columns of
// equal x (taken from the first column and the first row), both increasing; false when the grid
// has fewer than 2 x 2 nodes or the places do not increase.
template <class Grid>
bool PrepareFit(const Grid& values, VxGeCurveFitGraph& graph) {
    const long rows = values.GetRowCount(), columns = values.GetColumnCount();
    if (rows < 2 || columns < 2) return false;
    std::vector<double> xs, ys;
    std::vector<float> z;
    z.reserve(static_cast<size_t>(rows) * columns);
    for (long c = 0; c < columns; ++c) xs.push_back(values[0][c].x);
    for (long r = 0; r < rows; ++r) {
        ys.push_back(values[r][0].y);
        for (long c = 0; c < columns; ++c) z.push_back(static_cast<float>(values[r][c].z));
    }
    return graph.Prepare(std::move(xs), std::move(ys), std::move(z));
}
