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

// One line each for the command list, in Chinese; the language dictionary translates them.
const wchar_t* const g_SolxCmdHelp[kSolxCommandCount] = {
    L"窗日照分析：选择日照窗和遮挡物，写出窗日照表",
    L"多点日照分析",
    L"单点日照分析（动态查询）",
    L"二维日照阴影轮廓",
    L"等日照时间线",
    L"三维阴影模拟",
};

const VxCmdTable g_SolxOwnCmdTable[kSolxOwnCommandCount] = {
    {L"VxSetScale", VxSetScale, 0},
};

const wchar_t* const g_SolxOwnCmdHelp[kSolxOwnCommandCount] = {
    L"出图比例：表格、文字和标注按 1:N 出图的大小绘制",
};
