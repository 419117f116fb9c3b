#pragma once
// What every tool of this library offers beyond the core object library's ILumTool: the
// three record-enable masks. A tool's own interface derives from ILumIPTool.

#include "lumxip/HalvexCore.h"
#include "lumxip/ip/identifiers.h"

// State IDs shared by every tool.
enum LumIPToolStateIDs : int32_t {
  lumIPTool_RunStatus = 16896000,
  lumIPTool_ToolName = 16896002,
  lumIPTool_LastRunRecordEnable = 16896004,
  lumIPTool_LastRunRecordDiagEnable = 16896005,
  lumIPTool_CurrentRecordEnable = 16896006,
  lumIPTool_CurrentRecordChanged = 16896020,  // something the current record shows changed
};

// Dispatch IDs of the tool members that are no state.
inline constexpr DISPID DISPID_LumIPTool_Run = 0x101E101;
inline constexpr DISPID DISPID_LumIPTool_Terminate = 0x101E102;
inline constexpr DISPID DISPID_LumIPTool_CreateCurrentRecord = 0x101E103;
inline constexpr DISPID DISPID_LumIPTool_CreateLastRunRecord = 0x101E104;
inline constexpr DISPID DISPID_LumIPTool_ExposedInputProperties = 0x101E105;
inline constexpr DISPID DISPID_LumIPTool_ExposedOutputProperties = 0x101E106;
inline constexpr DISPID DISPID_LumIPTool_ControlProgID = 0x101E107;
inline constexpr DISPID DISPID_LumIPTool_LastRunRecordEnableBase = 0x101E108;
inline constexpr DISPID DISPID_LumIPTool_LastRunRecordDiagEnableBase = 0x101E109;
inline constexpr DISPID DISPID_LumIPTool_CurrentRecordEnableBase = 0x101E10A;

LUM_INTERFACE_ID(ILumIPTool, ILumTool, IID_ILumIPTool);
struct LUM_VISIBLE ILumIPTool : ILumTool {
  // Bit masks of the tool's own record enumerations; "All" is -1. No bit is checked.
  virtual HRESULT get_LastRunRecordEnable(LONG* mask) = 0;
  virtual HRESULT put_LastRunRecordEnable(LONG mask) = 0;
  virtual HRESULT get_LastRunRecordDiagEnable(LONG* mask) = 0;
  virtual HRESULT put_LastRunRecordDiagEnable(LONG mask) = 0;
  virtual HRESULT get_CurrentRecordEnable(LONG* mask) = 0;
  virtual HRESULT put_CurrentRecordEnable(LONG mask) = 0;
};
