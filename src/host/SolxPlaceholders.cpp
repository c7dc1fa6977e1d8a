// Handlers of commands whose analysis is not in the module yet: each says so on the command
// line. A command's own folder takes over its handler by defining it there and deleting it here.
#include "SolxCommands.h"
#include "VxUtPushResource.h"
#include "acad/aced.h"

namespace {
void NotAvailable(const wchar_t* command) {
    acutPrintf(VxUtLangText(L"\n命令 %s 暂不可用。\n"), command);
}
}  // namespace

void VxSunEqCurve() {
    NotAvailable(L"VxSunEqCurve");
}
