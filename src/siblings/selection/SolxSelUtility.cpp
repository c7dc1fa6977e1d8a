#include "solx/SolxSelUtility.h"

#include "ShadowModelReader.h"
#include "acad/AcDbEntity.h"
#include "acad/adsdef.h"
#include "brel/VxDtLayer.h"
#include "brel/VxPtInput.h"

resbuf* GetShadowObjectMask() {
    const std::wstring layer = VxDtGetLayerName(L"SUN-BUILDING");
    // RTDXF0 stands for group 0 (the type name): 0 itself ends the list.
    return acutBuildList(-4, L"<OR",  //
                         -4, L"<AND", RTDXF0, L"LWPOLYLINE,CIRCLE", 8, layer.c_str(), -4,
                         L"AND>",                                                          //
                         RTDXF0, L"BREL_SLAB,BREL_BALCONY,3DFACE",                         //
                         -4, L"<AND", RTDXF0, L"POLYLINE", -4, L"&", 70, 64, -4, L"AND>",  //
                         -4, L"OR>", 0);
}

int SolxSelUtility::SelShadowModel(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                                   const wchar_t* prompt) {
    resbuf* filter = GetShadowObjectMask();
    const int status = VxPtSelectEntities(prompt, m_set1, filter);
    acutRelRb(filter);
    if (status != RTNORM) return status;
    return CreateShadowModel(m_set1, buildings, sources);
}

int SolxSelUtility::CreateShadowModel(const VxAdsEntSet& set, SolxBuildingList& buildings,
                                      SolxShadowSourceList& sources) const {
    int made = 0;
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (set[i].Open(entity, AcDb::kForRead) != Acad::eOk || !entity) continue;
        made += solx::shadow::ReadObstruction(*entity, buildings, sources);
        entity->close();
    }
    return made > 0 ? RTNORM : RTNONE;
}
