#pragma once
// The model of the 3D shadow simulation: the drawing's buildings, balconies, roofs, models and
// windows taken by entity class and layer, in metres, and turned into one indexed array of
// planar faces with materials and the lazily decided shadow relations between them.
//
// Face array order (n faces; the front fills upwards, the back downwards, and they meet):
//   0                                        the ground
//   1 .. firstBalconyWall - 1                building walls, slab by slab, wall by wall
//   firstBalconyWall .. lastWall             balcony walls
//   firstModelQuad (= lastWall + 1) ..       3D faces that are quads, in list order
//   n - 1 down to roofTriangleBack + 1       roof triangles (the first at n - 1)
//   roofTriangleBack down to lowestBalconyTriangle   balcony triangles
//   modelTriangleBack (= lowestBalconyTriangle - 1) down to modelBack + 1   3D triangles

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SimGeometry.h"

class VxAdsEntSet;

// A slab of the model (building or balcony): closed outline in metres, base and height.
struct SolxSimSlab {
    std::vector<VxGePoint> outline;
    double elevation = 0.0;
    double thickness = 0.0;
};

// A window of the model: the line along the wall at the window's sill, and its height.
struct SolxSimWindow {
    VxGePoint start;
    VxGePoint end;
    double height = 0.0;
};

// Lighting material of a face: ambient, diffuse, specular (RGBA) and shininess.
struct FaceMaterial {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float shininess = 0;
};

// A piece of a face cut by another face's plane, kept with the face it may shadow.
struct ChildCutFace {
    VxGeTriangle2d triangle;
    int source = 0;  // index of the face it was cut from
    VxGePoint normal;
};

// The selection filters of the model (free with acutRelRb): everything the model can take,
// and the two-sided faces (3D faces on any layer, polyface meshes on other layers than the
// roof and model layers, whose meshes are taken one-sided).
struct resbuf* GetSimulationObjectMask();
struct resbuf* GetDualFaceMask();

class SolxShadowModel {
public:
    static constexpr int materialCount = 10;

    SolxShadowModel();
    virtual ~SolxShadowModel();
    SolxShadowModel(const SolxShadowModel&) = delete;
    SolxShadowModel& operator=(const SolxShadowModel&) = delete;

    void LoadModel();
    // Asks the user which objects to show (nothing: the whole drawing) and fills the lists,
    // the ground face and the model box. Always true.
    bool CollectShadowModel();
    // The same from a given selection (empty: the whole drawing), without asking.
    void CollectFromSelection(const VxAdsEntSet& selection);
    void BuildFaceArray();
    // True when the relation matrix exists or was made; false (with the limit message) when
    // the model has more faces than g_RenderMaxFaceNum.
    bool PrepareShadowRelations();

    int GetWallFaceCount(int slabIndex, bool balcony) const;
    bool GetWallFace(int slabIndex, int wallIndex, VxGePoint corners[4], bool balcony) const;
    bool IsFaceShown(int i) const;
    // Removes from `set` every member that `selection` does not hold.
    static void RemoveNotSelected(VxAdsEntSet& set, const VxAdsEntSet& selection);

    // The model lists.
    std::vector<SolxSimSlab> m_buildings;
    std::vector<VxGeTriangle2d> m_roofTriangles;
    std::vector<SolxSimSlab> m_balconies;
    std::vector<VxGeTriangle2d> m_balconyTriangles;
    std::vector<VxGeFace> m_modelFaces;
    std::vector<SolxSimWindow> m_windows;

    VxGeFace m_ground;
    VxGePoint m_boxMin, m_boxMax;
    double m_bottomHeight = 0.0;
    double m_topHeight = 0.0;

    // The face array and what goes with it.
    int m_faceCount = -1;
    std::vector<VxGeFace3dEX> m_faceArray;
    std::vector<int> m_faceMaterial;
    int m_firstBalconyWall = 0;
    int m_lastWall = -1;
    int m_firstModelQuad = 0;
    int m_modelTriangleBack = 0;
    int m_lowestBalconyTriangle = 0;
    int m_roofTriangleBack = 0;
    int m_modelBack = -1;
    std::vector<std::uint8_t> m_faceFlags;  // 2 undecided, 1 lit, 0 not lit
    std::vector<std::vector<ChildCutFace>> m_childCuts;
    std::unique_ptr<FaceMaterial[]> m_materials;
    std::unique_ptr<std::uint8_t[]> m_relations;  // faceCount x faceCount, row = caster

    // Counts the builds of the face array: what a view keeps of the model is made again when
    // it changes.
    int m_modelVersion = 0;

    bool m_faceShadow = false;
    bool m_showModelFaces = true;
    bool m_showBalconies = true;

protected:
    // Hides (true) or shows again the window around the view while the user selects.
    virtual void HideWindow(bool /*hide*/) {}
    // Shows a message to the user (the view's message box; the command line here).
    virtual void ShowMessage(const std::wstring& text);

private:
    void ClearLists();
};
