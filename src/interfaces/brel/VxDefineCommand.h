#pragma once
// Registration of a module's command table with the host.

#include <cstdint>

// One row of a module's command table.
struct VxCmdTable {
    const wchar_t* name;  // global command name as typed
    void (*handler)();
    int32_t flags;  // handed to the host's command stack as they stand
};

// Registers count rows of table in group on the host's command stack (found in the system
// registry under "ACAD_REGISTERED_COMMANDS"). options is reserved and passed as 0. Returns
// the number of rows registered.
int VxDefineCommand(const wchar_t* group, const VxCmdTable* table, int count, int options);
