#pragma once
// Standard layers and text styles of the product line, made sure of by key. A key names a
// layer or style role ("SUN-SHADOW", "SUN-WINDOW", "SUN-BUILDING", "TG_GRID", "TS_DIM"); the
// table behind it gives the layer name and colour, so that a drawing standard can rename layers
// without touching the commands. Keys without an entry name a layer of the same name (colour 7).

#include <string>

#include "acad/AcDbCore.h"

class AcDbDatabase;

// The layer exists in `db` (null: the working drawing) after the call; its id, null when there
// is no drawing.
AcDbObjectId VxDtInitStdLayer(const wchar_t* key, AcDbDatabase* db = nullptr);
// The layer name the key maps to.
std::wstring VxDtGetLayerName(const wchar_t* key);
// The text style exists (for "TS_DIM": a font that shows Chinese, width factor 0.7); its id.
AcDbObjectId VxDtInitTextStyle(const wchar_t* key, AcDbDatabase* db = nullptr);
