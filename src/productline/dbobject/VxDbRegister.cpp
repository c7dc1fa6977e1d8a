// Registers the product-line classes with the database when the library loads.
#include "acad/AcDbDatabase.h"
#include "brel/VxDbPromptSymbol.h"
#include "brel/VxDbSheet.h"
#include "brel/VxDbSlab.h"
#include "brel/VxDbText.h"

void VxDbRegisterClasses() {
    acdbRegisterSolxType(L"BREL_SLAB", [] { return new VxDbSlab(); });
    acdbRegisterSolxType(L"BREL_BALCONY", [] {
        auto* slab = new VxDbSlab();
        slab->SetBalcony(true);
        return slab;
    });
    acdbRegisterSolxType(L"VXDB_TEXT", [] { return new VxDbText(); });
    acdbRegisterSolxType(L"BREL_PROMPTSYMBOL", [] { return new VxDbPromptSymbol(); });
    acdbRegisterSolxType(L"BREL_SHEET", [] { return new VxDbSheet(); });
}

namespace {
const bool registeredAtLoad = (VxDbRegisterClasses(), true);
}  // namespace
