// An empty R2010 drawing as a tag-level document, complete enough (tables, block records,
// layouts, dictionaries, handles and owners) for any DXF reader to open it, with the window
// block "_SUNWD" and the layers the sunlight analysis uses.
#pragma once

#include <string>

#include "dxf/DxfDocument.h"

namespace dxfgen {

class DrawingSkeleton {
public:
    DrawingSkeleton();

    // A new handle, unique in the drawing.
    std::string newHandle();
    // The head of an entity owned by OWNER: "0 TYPE", handle, owner, layer, subclass marker.
    solx::dxf::Record entity(const char* type, const std::string& owner, const char* layer,
                             const char* subclass);
    const std::string& modelSpace() const { return modelSpace_; }
    // Writes $HANDSEED and returns the finished document.
    solx::dxf::Document finish();

    solx::dxf::Document doc;

private:
    void header();
    void tables();
    void blocks();
    void windowBlock(solx::dxf::Block& block, const std::string& owner);
    void objects();
    solx::dxf::Table& table(const char* name);
    solx::dxf::Record& tableEntry(solx::dxf::Table& t, const char* type, const char* subclass,
                                  const std::string& name);

    unsigned next_ = 0x20;
    std::string modelSpace_, paperSpace_, windowRecord_, modelLayout_, paperLayout_, layouts_;
};

// Layer and block names of the drawing conventions (see docs/dxf.md).
inline const char* const kBuildingLayer = "SUN-BUILDING";
inline const char* const kWindowLayer = "SUN-WINDOW";
inline const char* const kModelLayer = "SUN-3DMODEL";
inline const char* const kTextLayer = "SUN-TEXT";
inline const char* const kWindowBlock = "_SUNWD";
// Extended data application whose first string names the product-line class of an entity.
inline const char* const kTypeApp = "SOLX_TYPE";

std::string real(double v);

}  // namespace dxfgen
