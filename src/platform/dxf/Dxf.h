// Everything of the DXF file layer in one include.
#pragma once

#include "dxf/DxfDocument.h"
#include "dxf/DxfHeader.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfValueKind.h"
#include "dxf/DxfWriter.h"
