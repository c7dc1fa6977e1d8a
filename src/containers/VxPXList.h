#pragma once
// VxPXList<T> lives beside VxPDList<T>: the owning list over the indexed VxXList.
#include "containers/VxPDList.h"
