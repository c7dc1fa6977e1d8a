#include "dbobject/OwnBlock.h"

#include "acad/AcDbDatabase.h"

namespace solx::dbobject {

AcDbBlockTableRecord* ClearOwnBlock(AcDbBlockReference& ref) {
    AcDbObjectId blockId = ref.blockTableRecord();
    if (blockId.isNull()) blockId = ref.database()->addBlock(L"*U");
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(blockId.object());
    if (!block) return nullptr;
    ref.setBlockTableRecord(blockId);
    ref.database()->noteWrite(&ref);
    ref.database()->noteWrite(block);
    for (AcDbObjectId id : block->entityIds())
        if (id.isValid()) id.object()->erase();
    block->entityIds().clear();
    return block;
}

}  // namespace solx::dbobject
