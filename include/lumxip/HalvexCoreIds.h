#pragma once
// Every interface and class identifier of the core object library, in one table.
// Identifiers are part of saved files and of hosts' code: once here, never changed.
// The first ten rows come with the library's contract; the rest were chosen here.
// Add new rows at the end. Each row X(kind, name, text) defines kind_name, for example
// IID_ILumImage; tests walk the table to check that no two identifiers are equal.

#include "platform/guid.h"

// Dispatch interfaces (event interfaces) are named by a DIID.
using DIID = IID;

// clang-format off
#define LUM_CORE_IDENTIFIERS(X) \
  X(CLSID, LumMessageService, "{CE8B6334-C7A0-11D3-BF42-006008BE1019}")          \
  X(IID, ILumMessageService, "{203D511F-3982-11D5-BF9A-006008BE1019}")           \
  X(CLSID, LumPersistenceService, "{878A8A4E-1469-11D3-8506-0060082EB7E8}")      \
  X(IID, ILumPersistenceService, "{A76D9C55-2AD4-400F-AB73-04CD2C1F0F50}")       \
  X(CLSID, LumStopwatch, "{86C4F50D-99AD-11D2-84DB-0060082EB7E8}")               \
  X(CLSID, LumRecord, "{F746D5F8-AEAA-11D4-BF7E-006008BE1019}")                  \
  X(IID, ILumRecord, "{DE09D6CA-6CDB-4FC9-AD73-1393FE9D60C4}")                   \
  X(CLSID, LumRunStatus, "{23FC8DA7-1AA6-11D3-855B-00104B1CAA62}")               \
  X(IID, ILumRunStatus, "{23FC8DA6-1AA6-11D3-855B-00104B1CAA62}")                \
  X(IID, ILumRunStatusSetting, "{B04DE69D-3D6A-4CE2-9A58-E882DDC883D9}")         \
  X(IID, ILumImage, "{1995F1FA-EED7-49E1-A240-FE1FFB2FA5A6}")                    \
  X(IID, ILumImage8Grey, "{FA9C65B0-01A0-4D18-A2D1-36BFBB6557E4}")               \
  X(IID, ILumImage16Grey, "{26109C4C-190D-40A4-BAF1-B10BBE062C4E}")              \
  X(IID, ILumImage16Range, "{0306215E-EAA3-4DB4-AE19-532B6A7ADCFF}")             \
  X(IID, ILumImage24PlanarColor, "{F45BDB8E-AEF1-474B-BBFE-462B8B5C33A2}")       \
  X(IID, ILumImage8PixelAccess, "{F67ED8E5-42A8-4C8E-A1BA-3C1594AEB591}")        \
  X(IID, ILumImage16PixelAccess, "{D73C292A-8B69-48D5-B991-79588DEEE011}")       \
  X(IID, ILumImage16RangePixelAccess, "{B0481A87-7644-4D77-BF48-3E0DE4039A1D}")  \
  X(IID, ILumImage24PlanarPixelAccess, "{F5BEEFF3-606D-49CE-9BCF-18733EDDCAFC}") \
  X(IID, ILumImage8PixelMemory, "{4362195D-B91A-4E65-831B-7B90D9E4CC5F}")        \
  X(IID, ILumImage16PixelMemory, "{79ECCA14-C594-484A-BAB5-59D3FA8C0211}")       \
  X(IID, ILumImage8PixelMemoryInit, "{4EEA2EE1-E894-4033-AE0C-792EF676FED5}")    \
  X(IID, ILumImage16PixelMemoryInit, "{26C27583-087A-4EBF-8E0B-0976916B637C}")   \
  X(IID, ILumTransform2D, "{17AE7419-CC4F-4090-A27F-002993AEC49C}")              \
  X(IID, ILumTransform2DLinear, "{33831E5B-47B6-4ECC-ADDB-1381965C6C7E}")        \
  X(IID, ILumCoordSpaceTree, "{A5F9276C-5D7F-4E72-8356-00E5027A3400}")           \
  X(IID, ILumRegion, "{A31696D7-23DA-4393-BE7E-06C89FF909D6}")                   \
  X(IID, ILumRectangle, "{1D7716E8-41E3-4734-A41D-9D38686794CD}")                \
  X(IID, ILumRectangleAffine, "{2B212BE2-D5DE-4C0A-8B76-1B26D972B447}")          \
  X(CLSID, LumImage8Grey, "{A1F98356-20A5-4361-9481-976B35E7CE4D}")              \
  X(CLSID, LumImage16Grey, "{5A61C803-25F1-4091-BE89-C9C6457777EB}")             \
  X(CLSID, LumImage16Range, "{AC8B8A8B-CADD-4246-B4DC-ACAAF602DB73}")            \
  X(CLSID, LumImage24PlanarColor, "{A73854B8-7B6F-4AE7-8750-B73728612CCC}")      \
  X(CLSID, LumImage8PixelMemory, "{B461D17B-2A22-461C-BEA4-3A7F3386D439}")       \
  X(CLSID, LumImage16PixelMemory, "{DBF8290E-F4C0-4B35-94A7-035FF848B721}")      \
  X(CLSID, LumTransform2DLinear, "{1CDE3702-4539-4FDC-AF5E-96D9CDD6304D}")       \
  X(CLSID, LumCoordSpaceTree, "{9863F6EF-1CB3-4A0B-BC1D-CDF7CB90DF29}")          \
  X(CLSID, LumRectangle, "{C1196BBC-1D0C-4CE7-9704-80CA20EF7E2D}")               \
  X(CLSID, LumRectangleAffine, "{1A5999A5-A8CC-41AE-9F10-8E25718C1BE7}")         \
  X(IID, ILumObject, "{D8C58B27-B5EF-4B1A-B9FA-89305C0D937B}")                   \
  X(IID, ILumChangeEventConfiguration, "{3739ACC5-A9AA-40D2-A517-59D013C145F5}") \
  X(IID, ILumPersistArchive, "{E46A4974-614C-41A3-B6CF-9737725620F1}")           \
  X(IID, ILumArchive, "{7E0F99AF-D91D-4C07-B4C1-1EC57F66483A}")                  \
  X(IID, ILumComInternal, "{FB51CDB4-F3E1-4C82-A131-674812C8A38D}")              \
  X(IID, ILumManagedFactory, "{80398330-DF02-43F0-B3A3-17B54B6C59F0}")           \
  X(IID, ILumEventInfo, "{2B1CD8AD-CB69-4052-A100-EEF0FBD7C217}")                \
  X(DIID, ILumChangeEvent, "{A022998C-94D6-48EB-946A-F8A11E1E04C0}")             \
  X(DIID, ILumToolEvents, "{0CEEF5BE-3C1F-4B42-8F6D-C05A6DFAC6F8}")              \
  X(DIID, ILumCollectionEvents, "{567DEB61-D5B3-4453-AD2C-DFC671326552}")        \
  X(IID, ILumCollection, "{23893F9D-F7B3-49BF-BF8A-AD44608EEB9B}")               \
  X(CLSID, LumCollection, "{A238079D-9886-430C-A155-76AB4F81164D}")              \
  X(CLSID, LumTransform2D, "{62F96847-B906-44A4-8625-60EA9707B797}")             \
  X(IID, ILumTransformHandle, "{0DEF9E4A-50F5-4D0E-806A-B2CB5B628845}")         \
  X(IID, ILumStopwatch, "{571B3201-0099-4BEC-A70B-52AB98ABF424}")               \
  X(IID, ILumStringCollection, "{35256368-8842-43A4-B496-5903BD0DCCEF}")        \
  X(CLSID, LumStringCollection, "{0D96C2EE-5CB0-4625-AC77-FE2DCD94AF4D}")       \
  X(IID, ILumTool, "{2086414A-6126-47BB-96DF-87C52AB02906}")                   \
  X(IID, ILumCircle, "{5F20FA73-9C9E-4B56-8CF4-9D87F4332DF8}")                 \
  X(IID, ILumEllipse, "{8FEFF0A5-F6C7-4A45-B21F-A93B01DD2F05}")                \
  X(IID, ILumCircularAnnulus, "{8A7764F4-F2DE-4D8D-9407-29950C91DE94}")        \
  X(IID, ILumEllipticalAnnulus, "{7B37927B-FCE0-4EB4-B212-69C4997F2319}")      \
  X(IID, ILumEllipticalAnnulusSection, "{EDCD710C-1A2F-417C-9D9B-A8A6D4C5C7FE}") \
  X(IID, ILumPolygon, "{385E6F8E-97F3-4906-9FEC-9A2EC7563910}")                \
  X(CLSID, LumCircle, "{19D2167B-A851-419A-A552-ABE6B5DBD7F7}")                \
  X(CLSID, LumEllipse, "{07771902-B519-44A8-BBD7-D868124E6EF6}")               \
  X(CLSID, LumCircularAnnulus, "{92F0770C-C594-4508-802A-06262C5061E3}")       \
  X(CLSID, LumEllipticalAnnulus, "{D28FAF25-1594-4516-B9BC-FD2A1FC41BE3}")     \
  X(CLSID, LumEllipticalAnnulusSection, "{7D641D06-0746-4AD5-B8F0-24FCE5C02DBB}") \
  X(CLSID, LumPolygon, "{4CDF53E6-4826-42A1-AFD0-9CFE2C345750}") \
  X(IID, ILumCoordinateAxes, "{E76D85B9-93D1-403E-82E7-23DC1C659544}")          \
  X(CLSID, LumCoordinateAxes, "{7539986D-A959-4E35-8977-98BC99D74C75}")        \
  X(IID, ILumGraphic, "{89E801C7-AF71-492B-A962-0EB450E734D5}")                \
  X(IID, ILumLineGraphic, "{46C9A6FD-FE2E-40DA-AA0E-F19E09DDF97A}")            \
  X(IID, ILumPolylineGraphic, "{A99C5411-F452-481F-BEB8-82D7506288E7}")        \
  X(IID, ILumTextGraphic, "{3594E05E-F47B-4AB8-A9C6-1AB54CC95CC0}")            \
  X(IID, ILumGraphicCollection, "{BB48D7C2-EA8F-4EE2-96E3-90AC83C2AAAF}")      \
  X(CLSID, LumLineGraphic, "{A3B0F42E-C6F9-4D11-8E1C-FF9F0171F49F}")           \
  X(CLSID, LumPolylineGraphic, "{943C2ABA-59F0-43B0-A452-52CA03D6F0B7}")       \
  X(CLSID, LumTextGraphic, "{1D815FA8-6DB2-4839-AC4B-A124053686BA}")           \
  X(CLSID, LumGraphicCollection, "{C1EEAFA3-3069-4EB6-AAA5-7E74138E2C12}")
// clang-format on

#define LUM_DEFINE_IDENTIFIER(kind, name, text) \
  inline constexpr kind kind##_##name = lum::guid(text);
LUM_CORE_IDENTIFIERS(LUM_DEFINE_IDENTIFIER)
#undef LUM_DEFINE_IDENTIFIER
