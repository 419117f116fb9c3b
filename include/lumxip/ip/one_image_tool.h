#pragma once
// LumIPOneImageTool: runs the enabled operators of its chain in order, the first with the
// tool's region, each on the previous one's output.

#include "lumxip/ip/one_image.h"
#include "lumxip/ip/tool.h"

enum LumIPOneImageCurrentRecordConstants : LONG {
  lumIPOneImageCurrentRecordNone = 0,
  lumIPOneImageCurrentRecordInputImage = 1,
  lumIPOneImageCurrentRecordRegion = 2,
  lumIPOneImageCurrentRecordAll = -1,
};
enum LumIPOneImageLastRunRecordConstants : LONG {
  lumIPOneImageLastRunRecordNone = 0,
  lumIPOneImageLastRunRecordOutputImage = 2,
  lumIPOneImageLastRunRecordAll = -1,
};
enum LumIPOneImageLastRunRecordDiagConstants : LONG {
  lumIPOneImageLastRunRecordDiagNone = 0,
  lumIPOneImageLastRunRecordDiagInputImageByReference = 1,
  lumIPOneImageLastRunRecordDiagInputImageDeepCopy = 4,
  lumIPOneImageLastRunRecordDiagIntermediateImages = 16,
  lumIPOneImageLastRunRecordDiagTransformedRegionImage = 32,
  lumIPOneImageLastRunRecordDiagRegion = 256,
  lumIPOneImageLastRunRecordDiagAll = -1,
};

enum LumIPOneImageToolStateIDs : int32_t {
  lumIPOneImageTool_RunStatus = lumIPTool_RunStatus,
  lumIPOneImageTool_ToolName = lumIPTool_ToolName,
  lumIPOneImageTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumIPOneImageTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumIPOneImageTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumIPOneImageTool_InputImage = 16863571,
  lumIPOneImageTool_OutputImage = 16863572,
  lumIPOneImageTool_Operators = 16863573,
  lumIPOneImageTool_RegionMode = 16863574,
  lumIPOneImageTool_Region = 16863575,
};

LUM_INTERFACE_ID(ILumIPOneImageTool, ILumIPTool, IID_ILumIPOneImageTool);
struct LUM_VISIBLE ILumIPOneImageTool : ILumIPTool {
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  // Stores the reference as given.
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  virtual HRESULT get_OutputImage(ILumImage** image) = 0;
  virtual HRESULT get_Operators(ILumIPOneImageOperators** operators) = 0;
  // 0, 1 or 2 (LumRegionModeConstants).
  virtual HRESULT get_RegionMode(LumRegionModeConstants* mode) = 0;
  virtual HRESULT put_RegionMode(LumRegionModeConstants mode) = 0;
  // None: the whole image.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
};
