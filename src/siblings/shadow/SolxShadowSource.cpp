#include "solx/SolxShadowSource.h"

void SolxShadowSource::AddTriangle(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c) {
    SolxFace3d face;
    face.pt[0] = a;
    face.pt[1] = b;
    face.pt[2] = c;
    face.pt[3] = c;
    face.count = 3;
    m_faces.push_back(face);
}

void SolxShadowSource::AddQuad(const VxGePoint& a, const VxGePoint& b, const VxGePoint& c,
                               const VxGePoint& d) {
    if (d == c) {
        AddTriangle(a, b, c);
        return;
    }
    AddTriangle(a, b, c);
    m_faces.back().pt[3] = d;
    m_faces.back().count = 4;
}
