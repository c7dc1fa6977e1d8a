// Geometry values of the host: points, vectors, a 4x4 transformation matrix, a plane and a scale.
// All inline; lengths in drawing units, angles in radians.
#pragma once

#include <array>
#include <cmath>

#include "acad/AcArray.h"

// Equality tolerance for points and vectors.
struct AcGeTol {
    double equalPoint = 1e-10;
    double equalVector = 1e-12;
};
struct AcGeContext {
    static inline AcGeTol gTol{};
};

class AcGeVector2d {
public:
    double x = 0, y = 0;
    AcGeVector2d() = default;
    AcGeVector2d(double ax, double ay) : x(ax), y(ay) {}
    double length() const { return std::hypot(x, y); }
    double angle() const {
        double a = std::atan2(y, x);
        return a < 0 ? a + 2 * M_PI : a;
    }
    AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    static const AcGeVector2d kXAxis, kYAxis;
};
inline const AcGeVector2d AcGeVector2d::kXAxis{1, 0};
inline const AcGeVector2d AcGeVector2d::kYAxis{0, 1};

class AcGePoint2d {
public:
    double x = 0, y = 0;
    AcGePoint2d() = default;
    AcGePoint2d(double ax, double ay) : x(ax), y(ay) {}
    double distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
    AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& t = AcGeContext::gTol) const {
        return distanceTo(p) <= t.equalPoint;
    }
    bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
    double operator[](int i) const { return i == 0 ? x : y; }
    static const AcGePoint2d kOrigin;
};
inline const AcGePoint2d AcGePoint2d::kOrigin{0, 0};

class AcGeMatrix3d;

class AcGeVector3d {
public:
    double x = 0, y = 0, z = 0;
    AcGeVector3d() = default;
    AcGeVector3d(double ax, double ay, double az) : x(ax), y(ay), z(az) {}
    double length() const { return std::sqrt(x * x + y * y + z * z); }
    bool isZeroLength(const AcGeTol& t = AcGeContext::gTol) const {
        return length() <= t.equalVector;
    }
    AcGeVector3d normal() const {
        double l = length();
        return l > 0 ? AcGeVector3d(x / l, y / l, z / l) : *this;
    }
    AcGeVector3d& normalize() { return *this = normal(); }
    double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    AcGeVector3d perpVector() const;  // a unit vector perpendicular to this one
    double angleTo(const AcGeVector3d& v) const {
        return std::atan2(crossProduct(v).length(), dotProduct(v));
    }
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& t = AcGeContext::gTol) const {
        return (*this - v).length() <= t.equalVector;
    }
    bool isParallelTo(const AcGeVector3d& v) const {
        return crossProduct(v).length() <= 1e-12 * length() * v.length();
    }
    AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    AcGeVector3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
    AcGeVector3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
    AcGeVector3d& operator*=(double s) { return *this = *this * s; }
    bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
    AcGeVector3d& transformBy(const AcGeMatrix3d& m);
    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    static const AcGeVector3d kXAxis, kYAxis, kZAxis, kIdentity;
};
inline const AcGeVector3d AcGeVector3d::kXAxis{1, 0, 0};
inline const AcGeVector3d AcGeVector3d::kYAxis{0, 1, 0};
inline const AcGeVector3d AcGeVector3d::kZAxis{0, 0, 1};
inline const AcGeVector3d AcGeVector3d::kIdentity{0, 0, 0};
inline AcGeVector3d operator*(double s, const AcGeVector3d& v) {
    return v * s;
}

inline AcGeVector3d AcGeVector3d::perpVector() const {
    // The arbitrary-axis choice: close to the Z axis take the Y axis, else the Z axis.
    AcGeVector3d n = normal();
    AcGeVector3d ref = (std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64) ? kYAxis : kZAxis;
    return ref.crossProduct(n).normal();
}

class AcGePoint3d {
public:
    double x = 0, y = 0, z = 0;
    AcGePoint3d() = default;
    AcGePoint3d(double ax, double ay, double az) : x(ax), y(ay), z(az) {}
    double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
    AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    AcGePoint3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
    AcGePoint3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
    AcGeVector3d asVector() const { return {x, y, z}; }
    AcGePoint2d convert2d() const { return {x, y}; }
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& t = AcGeContext::gTol) const {
        return distanceTo(p) <= t.equalPoint;
    }
    bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
    AcGePoint3d& transformBy(const AcGeMatrix3d& m);
    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    static const AcGePoint3d kOrigin;
};
inline const AcGePoint3d AcGePoint3d::kOrigin{0, 0, 0};

class AcGeScale3d {
public:
    double sx = 1, sy = 1, sz = 1;
    AcGeScale3d() = default;
    explicit AcGeScale3d(double s) : sx(s), sy(s), sz(s) {}
    AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
    double operator[](int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
};

// A 4x4 affine transformation acting on column vectors: p' = M * p.
class AcGeMatrix3d {
public:
    std::array<std::array<double, 4>, 4> entry{};
    AcGeMatrix3d() { setToIdentity(); }
    AcGeMatrix3d& setToIdentity() {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) entry[i][j] = i == j ? 1.0 : 0.0;
        return *this;
    }
    double operator()(int r, int c) const { return entry[r][c]; }
    double& operator()(int r, int c) { return entry[r][c]; }
    AcGeMatrix3d operator*(const AcGeMatrix3d& m) const {
        AcGeMatrix3d r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                double s = 0;
                for (int k = 0; k < 4; ++k) s += entry[i][k] * m.entry[k][j];
                r.entry[i][j] = s;
            }
        return r;
    }
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& m) { return *this = m * *this; }
    AcGeMatrix3d& postMultBy(const AcGeMatrix3d& m) { return *this = *this * m; }
    AcGeMatrix3d& setToTranslation(const AcGeVector3d& v) {
        setToIdentity();
        entry[0][3] = v.x, entry[1][3] = v.y, entry[2][3] = v.z;
        return *this;
    }
    // Rotation by angle (right hand) about the axis through center.
    AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                                const AcGePoint3d& center = AcGePoint3d::kOrigin);
    AcGeMatrix3d& setToScaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin) {
        setToIdentity();
        for (int i = 0; i < 3; ++i) entry[i][i] = s, entry[i][3] = (1 - s) * center[i];
        return *this;
    }
    // Maps the world axes onto the given ones at origin.
    AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                 const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
        setToIdentity();
        for (int i = 0; i < 3; ++i) {
            entry[i][0] = xAxis[i], entry[i][1] = yAxis[i], entry[i][2] = zAxis[i];
            entry[i][3] = origin[i];
        }
        return *this;
    }
    static AcGeMatrix3d translation(const AcGeVector3d& v) {
        return AcGeMatrix3d().setToTranslation(v);
    }
    static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                                 const AcGePoint3d& center = AcGePoint3d::kOrigin) {
        return AcGeMatrix3d().setToRotation(angle, axis, center);
    }
    static AcGeMatrix3d scaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin) {
        return AcGeMatrix3d().setToScaling(s, center);
    }
    // The arbitrary-axis plane system of an extrusion direction (object to world).
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    double det() const;
    bool inverse(AcGeMatrix3d& out) const;  // false when singular
    AcGeMatrix3d inverse() const {
        AcGeMatrix3d r;
        inverse(r);
        return r;
    }
    double scale() const {  // the largest axis scale
        double s = 0;
        for (int j = 0; j < 3; ++j)
            s = std::max(s, std::hypot(entry[0][j], entry[1][j], entry[2][j]));
        return s;
    }
    static const AcGeMatrix3d kIdentity;
};
inline const AcGeMatrix3d AcGeMatrix3d::kIdentity{};
inline AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
    AcGePoint3d r;
    for (int i = 0; i < 3; ++i) r[i] = m(i, 0) * p.x + m(i, 1) * p.y + m(i, 2) * p.z + m(i, 3);
    return r;
}
inline AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    AcGeVector3d r;
    for (int i = 0; i < 3; ++i) r[i] = m(i, 0) * v.x + m(i, 1) * v.y + m(i, 2) * v.z;
    return r;
}
inline AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) {
    return *this = m * *this;
}
inline AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) {
    return *this = m * *this;
}
inline AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis,
                                                 const AcGePoint3d& center) {
    // Rodrigues' rotation formula.
    AcGeVector3d u = axis.normal();
    double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    setToIdentity();
    double r[3][3] = {{t * u.x * u.x + c, t * u.x * u.y - s * u.z, t * u.x * u.z + s * u.y},
                      {t * u.x * u.y + s * u.z, t * u.y * u.y + c, t * u.y * u.z - s * u.x},
                      {t * u.x * u.z - s * u.y, t * u.y * u.z + s * u.x, t * u.z * u.z + c}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) entry[i][j] = r[i][j];
        entry[i][3] = center[i] - (r[i][0] * center.x + r[i][1] * center.y + r[i][2] * center.z);
    }
    return *this;
}
inline AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
    AcGeVector3d z = normal.normal();
    AcGeVector3d x = z.perpVector();
    AcGeVector3d y = z.crossProduct(x).normal();
    return AcGeMatrix3d().setCoordSystem(AcGePoint3d::kOrigin, x, y, z);
}
inline double AcGeMatrix3d::det() const {
    const auto& e = entry;
    return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) -
           e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
           e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}
inline bool AcGeMatrix3d::inverse(AcGeMatrix3d& out) const {
    // Affine inverse: invert the 3x3 part by cofactors, then the translation.
    double d = det();
    if (std::fabs(d) < 1e-300) return false;
    const auto& e = entry;
    out.setToIdentity();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            out.entry[i][j] = (e[r0][c0] * e[r1][c1] - e[r0][c1] * e[r1][c0]) / d;
        }
    for (int i = 0; i < 3; ++i)
        out.entry[i][3] =
            -(out.entry[i][0] * e[0][3] + out.entry[i][1] * e[1][3] + out.entry[i][2] * e[2][3]);
    return true;
}

// A plane through a point with a unit normal.
class AcGePlane {
public:
    AcGePlane() = default;
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal)
        : origin_(origin), normal_(normal.normal()) {}
    AcGePoint3d pointOnPlane() const { return origin_; }
    AcGeVector3d normal() const { return normal_; }
    double signedDistanceTo(const AcGePoint3d& p) const { return normal_.dotProduct(p - origin_); }
    double distanceTo(const AcGePoint3d& p) const { return std::fabs(signedDistanceTo(p)); }
    AcGePoint3d closestPointTo(const AcGePoint3d& p) const {
        return p - normal_ * signedDistanceTo(p);
    }
    // Where the line through p along dir meets the plane; false when parallel.
    bool intersectWith(const AcGePoint3d& p, const AcGeVector3d& dir, AcGePoint3d& out) const {
        double den = normal_.dotProduct(dir);
        if (std::fabs(den) < 1e-15) return false;
        out = p + dir * (-signedDistanceTo(p) / den);
        return true;
    }
    void set(const AcGePoint3d& origin, const AcGeVector3d& normal) {
        origin_ = origin;
        normal_ = normal.normal();
    }
    static const AcGePlane kXYPlane;

private:
    AcGePoint3d origin_;
    AcGeVector3d normal_{0, 0, 1};
};
inline const AcGePlane AcGePlane::kXYPlane{};

using AcGePoint2dArray = AcArray<AcGePoint2d>;
using AcGePoint3dArray = AcArray<AcGePoint3d>;
using AcGeDoubleArray = AcArray<double>;
