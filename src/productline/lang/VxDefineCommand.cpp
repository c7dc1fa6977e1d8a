// Command-table registration on the host's command stack.
#include "brel/VxDefineCommand.h"

#include "acad/acrx.h"

int VxDefineCommand(const wchar_t* group, const VxCmdTable* table, int count, int /*options*/) {
    AcEdCommandStack* stack = acedRegCmds;
    if (!stack || !table) return 0;
    int registered = 0;
    for (int i = 0; i < count; ++i) {
        const VxCmdTable& row = table[i];
        if (stack->addCommand(group, row.name, row.name, row.flags, row.handler) == 0) ++registered;
    }
    return registered;
}
