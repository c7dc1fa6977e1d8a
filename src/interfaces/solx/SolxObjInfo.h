#pragma once
// Label/value rows that describe a result entity: shown in the result tip window and stored on
// result entities as extended data of the application "SOLX_INFO" (docs/dxf.md).

#include <string>

#include "containers/VxPDList.h"

class AcDbEntity;

// One row: a label ("日照时刻") and its text ("9:00").
struct IObjInfoUnit {
    std::wstring name;
    std::wstring value;
};

using SolxObjInfoRows = VxPDList<IObjInfoUnit>;

// The application name the rows are stored under.
inline constexpr const wchar_t* kSolxInfoApp = L"SOLX_INFO";

// Replaces the entity's rows with `rows` (none: the rows are removed), registering the
// application in the working drawing. The entity must be open for write or not yet in a
// drawing. Non-zero on success.
int WriteXData(AcDbEntity* entity, const SolxObjInfoRows& rows);
// Appends the entity's rows to `rows`; the number appended (0 when it has none).
int ReadXData(const AcDbEntity* entity, SolxObjInfoRows& rows);
