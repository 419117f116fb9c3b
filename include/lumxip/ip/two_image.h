#pragma once
// Two-image operators combine an image A and an image B pixel by pixel. They share nine
// parameters (region modes, image alignment, the output's coordinate-space tree), the
// placing of B against A, and a tool with two inputs and two regions. Each operator's
// own header lists the nine with its state IDs, then its own two properties.

#include "lumxip/HalvexCore.h"
#include "lumxip/ip/identifiers.h"
#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumIPTwoImageSpaceTreeModeConstants : LONG {
  lumIPTwoImageSpaceTreeModeCopyA = 0,
  lumIPTwoImageSpaceTreeModeCopyB = 1,
  lumIPTwoImageSpaceTreeModeCopyAMergeB = 2,  // A's tree, B's attached under a new space
  lumIPTwoImageSpaceTreeModeCopyBMergeA = 3,  // B's tree, A's attached under a new space
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageSpaceTreeModeNames[] = {
    L"lumIPTwoImageSpaceTreeModeCopyA", L"lumIPTwoImageSpaceTreeModeCopyB",
    L"lumIPTwoImageSpaceTreeModeCopyAMergeB", L"lumIPTwoImageSpaceTreeModeCopyBMergeA"};

// The nine common properties with one operator's state IDs, in slot and persisted order.
// clang-format off
#define LUM_IP_TWO_IMAGE_PROPERTIES(P, x, idModeA, idModeB, idEnabled, idAX, idAY, idBX, idBY,  \
                                    idTree, idName)                                              \
  P(x, rw, RegionModeA, LumRegionModeConstants, idModeA, lumRegionModePixelAlignedBoundingBox,   \
    twoImageRegionModeCheck(), "How image A's region limits the work (1 or 2)")                  \
  P(x, rw, RegionModeB, LumRegionModeConstants, idModeB, lumRegionModePixelAlignedBoundingBox,   \
    twoImageRegionModeCheck(), "How image B's region limits the work (1 or 2)")                  \
  P(x, flag, ImageAlignmentEnabled, VARIANT_BOOL, idEnabled, false, lcNoCheck{},                 \
    "Place B so that its alignment point falls on A's; otherwise the windows' corners meet")     \
  P(x, rw, ImageAAlignmentX, double, idAX, 0.0, lcNoCheck{}, "A's alignment point, x (A's selected space)") \
  P(x, rw, ImageAAlignmentY, double, idAY, 0.0, lcNoCheck{}, "A's alignment point, y")           \
  P(x, rw, ImageBAlignmentX, double, idBX, 0.0, lcNoCheck{}, "B's alignment point, x (B's selected space)") \
  P(x, rw, ImageBAlignmentY, double, idBY, 0.0, lcNoCheck{}, "B's alignment point, y")           \
  P(x, rw, SpaceTreeMode, LumIPTwoImageSpaceTreeModeConstants, idTree,                           \
    lumIPTwoImageSpaceTreeModeCopyA,                                                             \
    enumRange(lumIPTwoImageSpaceTreeModeCopyA, lumIPTwoImageSpaceTreeModeCopyBMergeA,           \
              kIPTwoImageSpaceTreeModeNames),                                                   \
    "Which input's coordinate-space tree the output takes, and whether the other's is merged")   \
  P(x, rw, MergedSpaceTreeName, BSTR, idName, L"MergedSpaceTree", lcNoCheck{},                   \
    "Name of the space under the root that holds the merged tree")

// The nine without state IDs, for the interface they share.
#define LUM_IP_TWO_IMAGE_COMMON_PROPERTIES(P, x) \
  LUM_IP_TWO_IMAGE_PROPERTIES(P, x, 0, 0, 0, 0, 0, 0, 0, 0, 0)
// clang-format on

inline constexpr DISPID DISPID_LumIPTwoImageOperator_Execute = 0x101E201;

// The nine common properties; every operator's parameter interface derives from it.
LUM_INTERFACE_ID(ILumIPTwoImageParams, IDispatch, IID_ILumIPTwoImageParams);
struct LUM_VISIBLE ILumIPTwoImageParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_IP_TWO_IMAGE_COMMON_PROPERTIES)
};

// Execute of every two-image operator: a new image of the common window of A (within
// regionA) and B (within regionB), B placed against A. Regions are optional.
#define LUM_IP_TWO_IMAGE_EXECUTE                                                               \
  virtual HRESULT Execute(ILumImage* inputImageA, ILumImage* inputImageB, ILumRegion* regionA, \
                          ILumRegion* regionB, ILumImage** outputImage) = 0;

// The record enumerations of a two-image tool, named after it: LUM_IP_TWO_IMAGE_RECORDS(
// IPTwoImageAdd) gives LumIPTwoImageAddCurrentRecordConstants with
// lumIPTwoImageAddCurrentRecordInputImages and so on.
#define LUM_IP_TWO_IMAGE_RECORDS(Name)                                                  \
  enum Lum##Name##CurrentRecordConstants : LONG{                                        \
      lum##Name##CurrentRecordNone = 0,    lum##Name##CurrentRecordInputImages = 1,     \
      lum##Name##CurrentRecordRegions = 2, lum##Name##CurrentRecordAlignmentPoints = 4, \
      lum##Name##CurrentRecordAll = -1,                                                 \
  };                                                                                    \
  enum Lum##Name##LastRunRecordConstants : LONG{                                        \
      lum##Name##LastRunRecordNone = 0,                                                 \
      lum##Name##LastRunRecordOutputImage = 2,                                          \
      lum##Name##LastRunRecordAll = -1,                                                 \
  };                                                                                    \
  enum Lum##Name##LastRunRecordDiagConstants : LONG{                                    \
      lum##Name##LastRunRecordDiagNone = 0,                                             \
      lum##Name##LastRunRecordDiagInputImagesByReference = 1,                           \
      lum##Name##LastRunRecordDiagInputImagesDeepCopy = 4,                              \
      lum##Name##LastRunRecordDiagTransformedRegionImages = 32,                         \
      lum##Name##LastRunRecordDiagRegions = 256,                                        \
      lum##Name##LastRunRecordDiagImageAlignmentPoints = 512,                           \
      lum##Name##LastRunRecordDiagOverlapMasks = 1024,                                  \
      lum##Name##LastRunRecordDiagAll = -1,                                             \
  };

// The state IDs of a two-image tool: the tool base's, then its six from `first` on.
#define LUM_IP_TWO_IMAGE_TOOL_STATE_IDS(Name, first)                               \
  enum Lum##Name##ToolStateIDs : int32_t{                                          \
      lum##Name##Tool_RunStatus = lumIPTool_RunStatus,                             \
      lum##Name##Tool_ToolName = lumIPTool_ToolName,                               \
      lum##Name##Tool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,         \
      lum##Name##Tool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable, \
      lum##Name##Tool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,         \
      lum##Name##Tool_InputImageA = first,                                         \
      lum##Name##Tool_InputImageB = first + 1,                                     \
      lum##Name##Tool_OutputImage = first + 2,                                     \
      lum##Name##Tool_RunParams = first + 3,                                       \
      lum##Name##Tool_RegionA = first + 4,                                         \
      lum##Name##Tool_RegionB = first + 5,                                         \
  };

// The members of a two-image tool's interface after ILumIPTool, in slot order.
#define LUM_IP_TWO_IMAGE_TOOL_MEMBERS(IParams)              \
  virtual HRESULT get_InputImageA(ILumImage** image) = 0;   \
  virtual HRESULT putref_InputImageA(ILumImage* image) = 0; \
  virtual HRESULT get_InputImageB(ILumImage** image) = 0;   \
  virtual HRESULT putref_InputImageB(ILumImage* image) = 0; \
  virtual HRESULT get_OutputImage(ILumImage** image) = 0;   \
  virtual HRESULT get_RunParams(IParams** params) = 0;      \
  virtual HRESULT putref_RunParams(IParams* params) = 0;    \
  virtual HRESULT get_RegionA(ILumRegion** region) = 0;     \
  virtual HRESULT putref_RegionA(ILumRegion* region) = 0;   \
  virtual HRESULT get_RegionB(ILumRegion** region) = 0;     \
  virtual HRESULT putref_RegionB(ILumRegion* region) = 0;
