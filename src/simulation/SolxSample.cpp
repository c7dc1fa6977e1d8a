// The OpenGL view of the shadow simulation: state, lights and materials, the sky picture,
// plane and face shadows with the stencil buffer, camera and navigation.
#include "SolxSample.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "brel/VxUtFindFile.h"
#include "render/SolxRenderContext.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kStepLength = 1000.0 / 1000.0;  // one metre
constexpr double kStepAngle = 0.0872664626;      // five degrees
constexpr double kDistZero = 1e-6;

struct Material {
    float ambient[4], diffuse[4], specular[4], shininess;
};
constexpr Material kGround{
    {0.63f, 0.6f, 0.5f, 1.0f}, {0.63f, 0.6f, 0.5f, 1.0f}, {0.23f, 0.23f, 0.23f, 1.0f}, 10.0f};
constexpr Material kWall{
    {0.9f, 0.8f, 0.65f, 1.0f}, {0.9f, 0.8f, 0.65f, 1.0f}, {0.82f, 0.82f, 0.82f, 1.0f}, 30.0f};
constexpr Material kRoof{
    {0.77f, 0.45f, 0.06f, 1.0f}, {0.385f, 0.225f, 0.03f, 1.0f}, {0.4f, 0.4f, 0.4f, 1.0f}, 50.0f};
constexpr Material kWindow{{0.184f, 0.624f, 0.416f, 0.5f},
                           {0.23f, 0.78f, 0.52f, 0.5f},
                           {0.652f, 0.65f, 0.65f, 0.5f},
                           25.6f};

void SetMaterial(const float* ambient, const float* diffuse, const float* specular,
                 float shininess) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
}
void SetMaterial(const Material& m) {
    SetMaterial(m.ambient, m.diffuse, m.specular, m.shininess);
}

void Vertex(const VxGePoint& p) {
    glVertex3d(p.x, p.y, p.z);
}
void Normal(const VxGePoint& n) {
    glNormal3d(n.x, n.y, n.z);
}

// The wall normal of a plan direction angle: the direction turned a quarter turn clockwise.
VxGePoint WallNormal(const VxGePoint& from, const VxGePoint& to) {
    const double a = std::atan2(to.y - from.y, to.x - from.x);
    return {std::cos(a - kPi / 2), std::sin(a - kPi / 2), 0};
}

// v turned by `angle` about the unit axis (right-handed).
VxGePoint Rotate(const VxGePoint& v, const VxGePoint& axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return v * c + Cross(axis, v) * s + axis * (Dot(axis, v) * (1 - c));
}

std::uint32_t ReadU32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

}  // namespace

SolxSample::SolxSample() {
    std::wstring path;
    if (FindFile(L"sky.bmp", path)) LoadSky(path);
}

SolxSample::~SolxSample() {
    DeletePlaneLists();
    if (m_context) m_context->ReleaseCurrent();
}

void SolxSample::DeletePlaneLists() {
    if (m_planeLists && m_context && m_context->MakeCurrent()) glDeleteLists(m_planeLists, 2);
    m_planeLists = 0;
    m_listVersion = -1;
}

void SolxSample::UpdatePlaneLists() {
    if (m_planeLists && m_listVersion == m_modelVersion && m_listPlane == m_planeHeight &&
        m_listBalconies == m_showBalconies && m_listModelFaces == m_showModelFaces)
        return;
    if (!m_planeLists) m_planeLists = glGenLists(2);
    if (!m_planeLists) return;  // drawn directly then
    const int p = std::fabs(m_planeHeight) >= m_bottomHeight ? 1 : 0;
    glNewList(m_planeLists, GL_COMPILE);
    SetMaterial(kWall);
    DrawWalls(true);
    SetMaterial(kRoof);
    DrawRoofs(true);
    glEndList();
    glNewList(m_planeLists + 1, GL_COMPILE);
    DrawWalls(p == 1);
    DrawCastersAbovePlane();
    glEndList();
    m_listVersion = m_modelVersion;
    m_listPlane = m_planeHeight;
    m_listBalconies = m_showBalconies;
    m_listModelFaces = m_showModelFaces;
}

bool SolxSample::LoadSky(const std::wstring& path) {
    m_sky.clear();
    m_skyWidth = m_skyHeight = 0;
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    unsigned char header[54];
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    // Only an uncompressed 24-bit picture of a sane size is taken.
    const std::uint32_t width = ReadU32(header + 18), height = ReadU32(header + 22);
    const unsigned bits = header[28] | header[29] << 8;
    if (header[0] != 'B' || header[1] != 'M' || bits != 24 || ReadU32(header + 30) != 0 ||
        width == 0 || height == 0 || width > 16384 || height > 16384)
        return false;
    const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> pixels(row * height);
    in.seekg(54);
    if (!in.read(reinterpret_cast<char*>(pixels.data()),
                 static_cast<std::streamsize>(pixels.size())))
        return false;
    m_sky = std::move(pixels);
    m_skyWidth = static_cast<int>(width);
    m_skyHeight = static_cast<int>(height);
    return true;
}

bool SolxSample::Create(std::unique_ptr<SolxRenderContext> context, bool loadModel) {
    DeletePlaneLists();
    m_context = std::move(context);
    if (!m_context || !m_context->MakeCurrent()) return false;
    glEnable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClearStencil(0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    const float ambient[] = {0.26f, 0.26f, 0.26f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    if (loadModel) LoadModel();
    return true;
}

void SolxSample::SetCamera(const VxGePoint& eye, const VxGePoint& target) {
    m_eye = eye;
    m_target = target;
}

void SolxSample::SetSunDirection(const VxGePoint& v) {
    m_sun = Normalized(v);
    std::fill(m_faceFlags.begin(), m_faceFlags.end(), std::uint8_t{2});
}

bool SolxSample::IsFaceLit(int i) {
    if (i < 0 || i >= static_cast<int>(m_faceFlags.size())) return m_sun.z < -1e-6;
    std::uint8_t& flag = m_faceFlags[static_cast<size_t>(i)];
    if (flag == 2) flag = m_faceArray[static_cast<size_t>(i)].IsSunLightOn(m_sun) ? 1 : 0;
    return flag == 1;
}

bool SolxSample::DecideShadowRelation(int a, int b) {
    if (a == b || !m_relations) return false;
    const auto n = static_cast<size_t>(m_faceCount);
    std::uint8_t& ab = m_relations[static_cast<size_t>(a) * n + static_cast<size_t>(b)];
    std::uint8_t& ba = m_relations[static_cast<size_t>(b) * n + static_cast<size_t>(a)];
    if (ab == 2) {
        const VxGeFace3dEX& fa = m_faceArray[static_cast<size_t>(a)];
        const VxGeFace3dEX& fb = m_faceArray[static_cast<size_t>(b)];
        switch (fa.GetShadowRelation(fb)) {
            case VxGeFace3dEX::kNoShadow:
                ab = 0;
                break;
            case VxGeFace3dEX::kShadowsOnly:
                ab = 1;
                ba = 0;
                break;
            default:
                // Each face keeps the pieces of the other that lie in front of it; the ground
                // never casts, so its pieces are not kept.
                ab = 0;
                ba = 0;
                if (a != 0)
                    for (const VxGeTriangle2d& t : fa.CutByPlane(fb))
                        m_childCuts[static_cast<size_t>(b)].push_back({t, a, fa.GetNormal()});
                if (b != 0)
                    for (const VxGeTriangle2d& t : fb.CutByPlane(fa))
                        m_childCuts[static_cast<size_t>(a)].push_back({t, b, fb.GetNormal()});
                break;
        }
    }
    return ab == 1;
}

void SolxSample::DecideColumn(int b) {
    for (int a = 0; a < m_faceCount; ++a)
        if (a != b) DecideShadowRelation(a, b);
}

void SolxSample::Refresh() {
    if (!m_context || !m_context->MakeCurrent()) return;
    SetProjection(m_context->Width(), m_context->Height());
    m_needsPaint = true;
    m_context->Invalidate();
}

void SolxSample::SetProjection(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A perspective of 45 degrees vertically, then the camera: the matrices GLU's perspective
    // and look-at would make, written out here so that the module needs no GLU library.
    const double f = 1.0 / std::tan(45.0 * kPi / 360.0);
    const double aspect = static_cast<double>(width) / std::max(height, 1);
    const double zNear = 0.1f, zFar = 100000.0;
    const double perspective[16] = {f / aspect,
                                    0,
                                    0,
                                    0,
                                    0,
                                    f,
                                    0,
                                    0,
                                    0,
                                    0,
                                    (zFar + zNear) / (zNear - zFar),
                                    -1,
                                    0,
                                    0,
                                    2 * zFar * zNear / (zNear - zFar),
                                    0};
    glMultMatrixd(perspective);
    const VxGePoint d = Normalized(m_target - m_eye);
    if (std::fabs(std::fabs(Dot(d, m_up)) - 1.0) > 1e-5) {
        const VxGePoint side = Normalized(Cross(d, m_up));
        const VxGePoint up = Cross(side, d);
        const double look[16] = {side.x, up.x, -d.x, 0, side.y, up.y, -d.y, 0,
                                 side.z, up.z, -d.z, 0, 0,      0,    0,    1};
        glMultMatrixd(look);
        glTranslated(-m_eye.x, -m_eye.y, -m_eye.z);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SolxSample::Paint() {
    static bool painting = false;
    if (painting || !m_context) return;
    painting = true;
    m_context->ReleaseCurrent();
    if (m_context->MakeCurrent()) {
        RenderScene();
        m_context->SwapBuffers();
        m_needsPaint = false;
    }
    painting = false;
}

bool SolxSample::SaveFrame(const std::string& path, std::string& error) {
    if (!m_context) return error = "the view has no OpenGL context", false;
    if (m_needsPaint) Paint();
    return SolxWritePng(path, m_context->Width(), m_context->Height(), m_context->ReadPixels(),
                        error);
}

void SolxSample::RenderScene() {
    // Face shadows switched on after the build need the matrix (or go off, with the message).
    if (m_faceShadow && !PrepareShadowRelations()) m_faceShadow = false;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (HasSky() && m_sun.z < -1e-6) DrawSky();
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    SetLights(false);
    if (!m_faceShadow) {
        UpdatePlaneLists();
        if (m_planeLists) {
            glCallList(m_planeLists);
        } else {
            SetMaterial(kWall);
            DrawWalls(true);
            SetMaterial(kRoof);
            DrawRoofs(true);
        }
    }
    DrawShadows();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SetMaterial(kWindow);
    DrawWindows(!m_faceShadow);
    glDisable(GL_BLEND);
    glFlush();
}

void SolxSample::DrawSky() {
    // The picture fills the view from its lower left corner, whatever the camera.
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2f(-1.0f, -1.0f);
    glPixelZoom(static_cast<float>(m_context->Width()) / m_skyWidth,
                static_cast<float>(m_context->Height()) / m_skyHeight);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawPixels(m_skyWidth, m_skyHeight, GL_BGR_EXT, GL_UNSIGNED_BYTE, m_sky.data());
    glPixelZoom(1.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
}

void SolxSample::SetLights(bool inShadow) {
    const float sun[] = {static_cast<float>(-m_sun.x), static_cast<float>(-m_sun.y),
                         static_cast<float>(-m_sun.z), 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, sun);
    if (!inShadow && IsFaceLit(0)) {
        const float ambient[] = {0.4f, 0.4f, 0.4f, 0.4f}, specular[] = {0.1f, 0.1f, 0.1f, 0.5f};
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, ambient);
        glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    } else {
        const float dim[] = {0.2f, 0.2f, 0.2f, 1.0f}, none[] = {0, 0, 0, 0};
        glLightfv(GL_LIGHT0, GL_AMBIENT, dim);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, dim);
        glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    }
    const float lamp[] = {static_cast<float>(m_eye.x), static_cast<float>(m_eye.y),
                          static_cast<float>(m_eye.z), 1.0f};
    const float ambient[] = {0.1f, 0.1f, 0.1f, 1.0f}, diffuse[] = {0.3f, 0.3f, 0.3f, 1.0f},
                specular[] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, lamp);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightf(GL_LIGHT1, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.001f);
    glLightf(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.0f);
}

void SolxSample::DrawWalls(bool clipped) {
    glBegin(GL_QUADS);
    for (const auto* slabs : {&m_buildings, &m_balconies}) {
        if (slabs == &m_balconies && !m_showBalconies) break;
        for (const SolxSimSlab& slab : *slabs) {
            double base = slab.elevation;
            const double top = slab.elevation + slab.thickness;
            if (clipped) {
                if (top < m_planeHeight) continue;
                base = std::max(base, m_planeHeight);
            }
            const size_t n = slab.outline.size();
            for (size_t j = 0; j < n; ++j) {
                const VxGePoint& p = slab.outline[j];
                const VxGePoint& q = slab.outline[(j + 1) % n];
                Normal(WallNormal(p, q));
                glVertex3d(p.x, p.y, base);
                glVertex3d(q.x, q.y, base);
                glVertex3d(q.x, q.y, q.z + slab.thickness);
                glVertex3d(p.x, p.y, p.z + slab.thickness);
            }
        }
    }
    glEnd();
}

void SolxSample::DrawRoofs(bool clipped) {
    glBegin(GL_TRIANGLES);
    glNormal3d(0, 0, 1);
    for (const auto* triangles : {&m_roofTriangles, &m_balconyTriangles}) {
        if (triangles == &m_balconyTriangles && !m_showBalconies) break;
        for (const VxGeTriangle2d& t : *triangles) {
            if (clipped && std::max({t.pt[0].z, t.pt[1].z, t.pt[2].z}) < m_planeHeight) continue;
            for (const VxGePoint& p : t.pt) Vertex(p);
        }
    }
    glEnd();
    if (!m_showModelFaces) return;
    for (const VxGeFace& f : m_modelFaces) {
        const double top = std::max({f.pt[0].z, f.pt[1].z, f.pt[2].z, f.pt[3].z});
        if (clipped && top < m_planeHeight) continue;
        Normal(Normalized(Cross(f.pt[1] - f.pt[0], f.pt[2] - f.pt[0])));
        const bool triangle = f.pt[3].Distance3d(f.pt[2]) <= g_simDistZero;
        glBegin(triangle ? GL_TRIANGLES : GL_QUADS);
        for (int k = 0; k < (triangle ? 3 : 4); ++k) Vertex(f.pt[static_cast<size_t>(k)]);
        glEnd();
    }
}

void SolxSample::DrawWindows(bool clipped) {
    glBegin(GL_QUADS);
    for (const SolxSimWindow& w : m_windows) {
        double base = w.start.z;
        if (clipped) {
            if (w.start.z + w.height < m_planeHeight) continue;
            base = std::max(base, m_planeHeight);
        }
        Normal(WallNormal(w.start, w.end));
        glVertex3d(w.start.x, w.start.y, base);
        glVertex3d(w.end.x, w.end.y, base);
        glVertex3d(w.end.x, w.end.y, w.end.z + w.height);
        glVertex3d(w.start.x, w.start.y, w.start.z + w.height);
    }
    glEnd();
}

void SolxSample::DrawPlane(int p) {
    glBegin(GL_QUADS);
    glNormal3d(0, 0, 1);
    for (const VxGePoint& c : m_ground.pt) glVertex3d(c.x, c.y, p == 0 ? c.z : m_planeHeight);
    glEnd();
}

void SolxSample::DrawCastersAbovePlane() {
    if (m_planeHeight <= m_bottomHeight) {
        DrawRoofs(false);
        return;
    }
    VxGeFace3dEX plane;
    const VxGePoint corners[3] = {
        {0, 0, m_planeHeight}, {1, 0, m_planeHeight}, {0, 1, m_planeHeight}};
    plane.SetPoint(corners, 3);
    glBegin(GL_TRIANGLES);
    for (int i = 1; i < m_faceCount; ++i) {
        if (!IsFaceShown(i)) continue;
        const VxGeFace3dEX& f = m_faceArray[static_cast<size_t>(i)];
        if (f.LowestZ() > m_planeHeight + 0.01) {
            Normal(f.GetNormal());
            for (int k = 1; k + 1 < f.Count(); ++k) {
                Vertex(f.Point(0));
                Vertex(f.Point(k));
                Vertex(f.Point(k + 1));
            }
        } else if (f.HighestZ() > m_planeHeight) {
            Normal(f.GetNormal());
            for (const VxGeTriangle2d& t : f.CutByPlane(plane))
                for (const VxGePoint& p : t.pt) Vertex(p);
        }
    }
    glEnd();
}

bool SolxSample::CreateShadowMatrix(const std::array<double, 4>& plane) {
    const double light[4] = {m_sun.x, m_sun.y, m_sun.z, 0.0};
    const double dot = plane[0] * light[0] + plane[1] * light[1] + plane[2] * light[2];
    if (std::fabs(dot) < 1e-12) return false;  // light along the plane: keep the last matrix
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k)
            m_shadowMatrix[static_cast<size_t>(k * 4 + r)] = static_cast<float>(
                (r == k ? 1.0 : 0.0) - (r < 3 ? light[r] * plane[k] / dot : 0.0));
    return true;
}

void SolxSample::DrawShadows() {
    if (m_faceShadow)
        DrawFaceShadows();
    else
        DrawPlaneShadows();
}

void SolxSample::DrawPlaneShadows() {
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    const int p = std::fabs(m_planeHeight) >= m_bottomHeight ? 1 : 0;
    if (!IsFaceLit(0)) {
        glDisable(GL_STENCIL_TEST);
        SetMaterial(kGround);
        DrawPlane(p);
        glEnable(GL_STENCIL_TEST);
    } else {
        CreateShadowMatrix(p == 0 ? std::array<double, 4>{0, 0, 1, 0}
                                  : std::array<double, 4>{0, 0, 1, -m_planeHeight});
        glStencilFunc(GL_ALWAYS, 1, 0xff);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
        SetLights(true);
        SetMaterial(kGround);
        DrawPlane(p);
        SetLights(false);

        glDisable(GL_DEPTH_TEST);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glStencilFunc(GL_EQUAL, 1, 0xff);
        glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        // Casters only mark the stencil: no colour, so no lighting to compute either.
        glDisable(GL_LIGHTING);
        glPushMatrix();
        glMultMatrixf(m_shadowMatrix.data());
        if (m_planeLists) {
            glCallList(m_planeLists + 1);
        } else {
            DrawWalls(p == 1);
            DrawCastersAbovePlane();
        }
        glPopMatrix();
        glEnable(GL_LIGHTING);

        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        SetMaterial(kGround);
        DrawPlane(p);
        glEnable(GL_DEPTH_TEST);
    }
    glDisable(GL_STENCIL_TEST);
}

void SolxSample::DrawFace(int i, bool withMaterial) const {
    const VxGeFace3dEX& f = m_faceArray[static_cast<size_t>(i)];
    if (withMaterial) {
        const FaceMaterial& m =
            m_materials[static_cast<size_t>(m_faceMaterial[static_cast<size_t>(i)])];
        SetMaterial(m.ambient, m.diffuse, m.specular, m.shininess);
    }
    glBegin(GL_POLYGON);
    Normal(f.GetNormal());
    for (int k = 0; k < f.Count(); ++k) Vertex(f.Point(k));
    glEnd();
}

void SolxSample::DrawFaceShadows() {
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    const bool sunUp = IsFaceLit(0);
    const auto n = static_cast<size_t>(m_faceCount);
    std::vector<int> casters;
    std::vector<const VxGeTriangle2d*> pieces;
    for (int i = 0; i < m_faceCount; ++i) {
        if (!IsFaceShown(i)) continue;
        if (!sunUp) {
            glDisable(GL_STENCIL_TEST);
            DrawFace(i, true);
            glEnable(GL_STENCIL_TEST);
            continue;
        }
        // A face turned away from the sun is all in shadow: its shadowed look alone, outside
        // the stencil test.
        if (!IsFaceLit(i)) {
            glDisable(GL_STENCIL_TEST);
            SetLights(true);
            DrawFace(i, true);
            SetLights(false);
            glEnable(GL_STENCIL_TEST);
            continue;
        }
        // The casters of this receiver: the matrix entry first (a byte, mostly a decided "no"
        // once the analysis ran), then the light cylinder, then a relation not decided yet.
        const VxGeFace3dEX& receiver = m_faceArray[static_cast<size_t>(i)];
        const Cylinder cylinder(receiver, m_sun);
        const std::uint8_t* column = m_relations ? m_relations.get() + i : nullptr;
        casters.clear();
        pieces.clear();
        for (int j = 1; column && j < m_faceCount; ++j) {
            if (column[static_cast<size_t>(j) * n] == 0 || !IsFaceShown(j) || !IsFaceLit(j))
                continue;
            const VxGeFace3dEX& caster = m_faceArray[static_cast<size_t>(j)];
            if (i != 0 && !cylinder.IsSomeFacePointIn(&caster.Point(0), caster.Count())) continue;
            if (DecideShadowRelation(j, i)) casters.push_back(j);
        }
        for (const ChildCutFace& child : m_childCuts[static_cast<size_t>(i)]) {
            if (!IsFaceShown(child.source) || !IsFaceLit(child.source)) continue;
            if (i != 0 && !cylinder.IsSomeFacePointIn(child.triangle.pt.data(), 3)) continue;
            pieces.push_back(&child.triangle);
        }
        // Nothing can shadow it: the face in full sun, without the stencil passes.
        if (casters.empty() && pieces.empty()) {
            glDisable(GL_STENCIL_TEST);
            DrawFace(i, true);
            glEnable(GL_STENCIL_TEST);
            continue;
        }

        CreateShadowMatrix(receiver.Plane());
        glStencilFunc(GL_ALWAYS, 1, 0xff);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
        SetLights(true);
        DrawFace(i, true);
        SetLights(false);

        glDisable(GL_DEPTH_TEST);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glStencilFunc(GL_EQUAL, 1, 0xff);
        glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        glDisable(GL_LIGHTING);
        glPushMatrix();
        glMultMatrixf(m_shadowMatrix.data());
        // Walls and model quads (up to modelBack) as quads, the triangles behind them as such.
        glBegin(GL_QUADS);
        for (int j : casters)
            if (j <= m_modelBack)
                for (int k = 0; k < 4; ++k) Vertex(m_faceArray[static_cast<size_t>(j)].Point(k));
        glEnd();
        glBegin(GL_TRIANGLES);
        for (int j : casters)
            if (j > m_modelBack)
                for (int k = 0; k < 3; ++k) Vertex(m_faceArray[static_cast<size_t>(j)].Point(k));
        for (const VxGeTriangle2d* t : pieces)
            for (const VxGePoint& p : t->pt) Vertex(p);
        glEnd();
        glPopMatrix();
        glEnable(GL_LIGHTING);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        DrawFace(i, true);
        glEnable(GL_DEPTH_TEST);
    }
    glDisable(GL_STENCIL_TEST);
}

void SolxSample::OnSize(int width, int height) {
    if (m_context && m_context->Resize(width, height)) Refresh();
}

void SolxSample::OnMouseWheel(int delta) {
    if (delta == 0) return;
    const VxGePoint step = Normalized(m_target - m_eye) * (delta > 0 ? 10.0 : -10.0);
    m_eye = m_eye + step;
    m_target = m_target + step;
    Refresh();
}

void SolxSample::OnLeftButtonDown(int x, int y) {
    m_leftDrag = true;
    m_lastX = m_startX = x;
    m_lastY = m_startY = y;
    m_cursor = Cursor::kRotate;
}

void SolxSample::OnLeftButtonUp(int, int) {
    m_leftDrag = false;
    m_cursor = Cursor::kNormal;
}

void SolxSample::OnMiddleButtonDown(int x, int y) {
    m_middleDrag = true;
    m_lastX = m_startX = x;
    m_lastY = m_startY = y;
    m_cursor = Cursor::kPan;
}

void SolxSample::OnMiddleButtonUp(int, int) {
    m_middleDrag = false;
    m_cursor = Cursor::kNormal;
}

void SolxSample::OnMouseMove(int x, int y) {
    if (!m_context) return;
    const VxGePoint view = m_target - m_eye;
    if (m_middleDrag) {
        if (std::hypot(x - m_lastX, y - m_lastY) < 10) return;
        const double dx = (m_lastX - x) / 4.0, dy = (y - m_lastY) / 4.0;
        // The camera frame: right, up within the view plane, backwards.
        const VxGePoint back = Normalized(view * -1.0);
        const VxGePoint right = Normalized(Cross(m_up, back));
        const VxGePoint up = Cross(back, right);
        const VxGePoint move = right * dx + up * dy;
        m_eye = m_eye + move;
        m_target = m_target + move;
        m_lastX = x;
        m_lastY = y;
        Refresh();
        return;
    }
    if (!m_leftDrag || std::max(std::abs(x - m_lastX), std::abs(y - m_lastY)) < 10) return;
    const double pitch = -static_cast<double>(y - m_lastY) / m_context->Height() * kPi / 2;
    const double yaw = -static_cast<double>(m_lastX - x) / m_context->Width() * kPi / 2;
    // The up direction: eye + up x 10000 projected onto the plane through the eye across the view.
    const VxGePoint d = Normalized(view);
    const VxGePoint high = m_up * 10000.0;
    const VxGePoint projected = high - d * Dot(high, d);
    if (std::sqrt(Dot(projected, projected)) < 0.1) return;
    const VxGePoint upDir = Normalized(projected);
    const VxGePoint right = Normalized(Cross(upDir, m_eye - m_target));
    const VxGePoint pitched = Rotate(view, right, pitch);
    const VxGePoint turnedUp = Rotate(upDir, right, pitch);
    m_target = m_eye + Rotate(pitched, turnedUp, yaw);
    m_lastX = m_startX = x;
    m_lastY = m_startY = y;
    Refresh();
}

void SolxSample::OnKeyDown(int key, int repeat, bool shift, bool ctrl) {
    const int n = std::max(repeat, 1);
    const double planDistance = std::hypot(m_target.x - m_eye.x, m_target.y - m_eye.y);
    const double a =
        planDistance <= kDistZero ? 0.0 : std::atan2(m_target.y - m_eye.y, m_target.x - m_eye.x);
    auto moveBoth = [&](const VxGePoint& v) {
        m_eye = m_eye + v;
        m_target = m_target + v;
    };
    auto planStep = [&](double angle, double length) {
        moveBoth({std::cos(angle) * length, std::sin(angle) * length, 0});
    };
    auto turnTo = [&](double angle) {
        m_target = {m_eye.x + std::cos(angle) * planDistance,
                    m_eye.y + std::sin(angle) * planDistance, m_target.z};
    };
    const bool left = key == kKeyLeft, up = key == kKeyUp;
    switch (key) {
        case kKeyLeft:
        case kKeyRight:
            if (ctrl)
                turnTo(a + (left ? kPi / 2 : -kPi / 2));
            else if (shift)
                turnTo(a + (left ? 1 : -1) * n * kStepAngle);
            else
                planStep(a + (left ? kPi / 2 : -kPi / 2), n * kStepLength);
            break;
        case kKeyUp:
        case kKeyDown:
            if (ctrl) {
                moveBoth({0, 0, (up ? 1 : -1) * n * kStepLength});
            } else if (shift) {
                const double elevation =
                    std::atan2(m_target.z - m_eye.z, planDistance) + (up ? 1 : -1) * n * kStepAngle;
                m_target.z = m_eye.z + std::tan(elevation) * planDistance;
            } else {
                planStep(a, (up ? 1 : -1) * n * kStepLength);
            }
            break;
        default:
            return;
    }
    Refresh();
}

void SolxSample::DefaultView() {
    const VxGePoint size = m_boxMax - m_boxMin;
    const VxGePoint middle = (m_boxMin + m_boxMax) * 0.5;
    const double t = std::tan(kPi / 8);
    const double distance = size.x / 3 < 1.8 * size.z ? 1.8 * size.z / t : size.x / 3 / t;
    m_eye = {middle.x, m_boxMin.y - distance, middle.z + 0.6 * size.z};
    m_target = middle;
    Refresh();
}
