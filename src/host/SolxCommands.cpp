// The command table, in the order the commands are registered.
#include "SolxCommands.h"

const VxCmdTable g_SolxCmdTable[kSolxCommandCount] = {
    {L"VxWinSunAna", VxWinSunAna, 0},    //
    {L"VxSunMPoint", VxSunMPoint, 0},    //
    {L"VxSunSPoint", VxSunSPoint, 0},    //
    {L"VxShadow2d", VxShadow2d, 2},      // uses the pick set
    {L"VxSunEqCurve", VxSunEqCurve, 0},  //
    {L"VxShadow", VxShadow, 0},
};
