#pragma once
// The whole container family in one include.
#include "containers/Vx2dArray.h"
#include "containers/VxArray.h"
#include "containers/VxDList.h"
#include "containers/VxDListStack.h"
#include "containers/VxDynArray.h"
#include "containers/VxDynPArray.h"
#include "containers/VxList.h"
#include "containers/VxListQuene.h"
#include "containers/VxPDList.h"
#include "containers/VxPushVar.h"
#include "containers/VxXList.h"
