#pragma once
// The OpenGL view of the 3D shadow simulation: the model of SolxShadowModel drawn lit by the
// sun with OpenGL 1.1 fixed-function lighting, with the shadows of the moment either on the
// ground and the analysis plane (stencil shadows of the casters projected on the plane) or on
// every face (face-shadow mode, pruned by the relation matrix and the light half-cylinders).
//
// The view draws into a SolxRenderContext that its owner hands it: the host program's
// offscreen one, or a desktop window's. The camera lives in the projection matrix; the
// model-view matrix stays identity. Window messages arrive as the On... calls below, with
// client pixel coordinates (y down), so that any window system can forward them.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "SolxShadowModel.h"

class SolxRenderContext;

class SolxSample : public SolxShadowModel {
public:
    // Arrow keys as the key messages carry them.
    enum Key { kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28 };
    enum class Cursor { kNormal, kPan, kRotate };

    SolxSample();
    ~SolxSample() override;

    // Takes the context, sets the drawing state and, when `loadModel`, asks for the model
    // (LoadModel). False when the context cannot be made current.
    bool Create(std::unique_ptr<SolxRenderContext> context, bool loadModel = true);
    SolxRenderContext* Context() const { return m_context.get(); }

    void SetCamera(const VxGePoint& eye, const VxGePoint& target);
    // The sunlight direction (from the sun into the scene), normalised; lit states go back to
    // undecided.
    void SetSunDirection(const VxGePoint& v);
    const VxGePoint& Sun() const { return m_sun; }
    bool IsFaceLit(int i);
    // True when face a shadows face b; decided once, on first need.
    bool DecideShadowRelation(int a, int b);
    // Decides every caster of receiver b.
    void DecideColumn(int b);

    // Sets the projection for the context's size and asks for a paint.
    void Refresh();
    // Shows the whole model box.
    void DefaultView();
    // Draws a frame unless a paint is already running (a nested paint is dropped).
    void Paint();
    // True when Refresh asked for a paint that has not happened yet.
    bool NeedsPaint() const { return m_needsPaint; }
    // Paints (when needed) and writes the frame as PNG; false with the reason in `error`.
    bool SaveFrame(const std::string& path, std::string& error);

    // The sky picture from a file: an uncompressed 24-bit BMP. False (no sky) otherwise.
    bool LoadSky(const std::wstring& path);
    bool HasSky() const { return !m_sky.empty(); }

    // Window messages.
    void OnSize(int width, int height);
    void OnMouseWheel(int delta);
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(int x, int y);
    void OnMiddleButtonDown(int x, int y);
    void OnMiddleButtonUp(int x, int y);
    void OnMouseMove(int x, int y);
    void OnKeyDown(int key, int repeat, bool shift, bool ctrl);
    Cursor CurrentCursor() const { return m_cursor; }

    VxGePoint m_eye{0, -100, 50};
    VxGePoint m_target{0, 0, 0};
    VxGePoint m_up{0, 0, 1};
    double m_planeHeight = 0.0;
    std::array<float, 16> m_shadowMatrix{};

private:
    void SetProjection(int width, int height);
    void RenderScene();
    void DrawSky();
    void SetLights(bool inShadow);
    void DrawWalls(bool clipped);
    void DrawRoofs(bool clipped);
    void DrawWindows(bool clipped);
    void DrawPlane(int p);
    void DrawCastersAbovePlane();
    void DrawShadows();
    void DrawPlaneShadows();
    void DrawFaceShadows();
    void DrawFace(int i, bool withMaterial) const;
    bool CreateShadowMatrix(const std::array<double, 4>& plane);
    // The plane-shadow mode's fixed geometry as two display lists (the walls and roofs in
    // their materials; the casters that mark the stencil), made again when the model, the
    // plane height or the show switches change, so that a frame sends no vertex of them.
    void UpdatePlaneLists();
    void DeletePlaneLists();

    std::unique_ptr<SolxRenderContext> m_context;
    VxGePoint m_sun{0, 0, -1};
    int m_skyWidth = 0;
    int m_skyHeight = 0;
    std::vector<unsigned char> m_sky;  // bottom-up rows of blue, green, red, padded to 4 bytes
    bool m_middleDrag = false;
    bool m_leftDrag = false;
    int m_lastX = 0, m_lastY = 0;
    int m_startX = 0, m_startY = 0;
    Cursor m_cursor = Cursor::kNormal;
    bool m_needsPaint = false;
    unsigned m_planeLists = 0;  // first of the two lists, 0 when none
    int m_listVersion = -1;
    double m_listPlane = 0.0;
    bool m_listBalconies = false, m_listModelFaces = false;
};
