#pragma once
// Every interface and class identifier of this library, in one table. Identifiers are
// part of saved files and of hosts' code: once here, never changed. Add rows at the end.
// Each row X(kind, name, text) defines kind_name, for example CLSID_LumIPOneImageTool.

#include "lumxip/HalvexCoreIds.h"

// clang-format off
#define LUM_IP_IDENTIFIERS(X) \
  X(IID, ILumIPOneImageOperatorParams, "{1A354D01-3445-48F9-9072-B28587E041A3}")      \
  X(IID, ILumIPOneImageOperator, "{C0512691-4F73-4E4A-9C1E-3BE9D204BDA1}")            \
  X(IID, ILumIPOneImageOperators, "{AAA48FE9-4079-4198-93BC-B701440D5835}")           \
  X(CLSID, LumIPOneImageOperators, "{25A300DE-9E84-4E7B-9CB2-F25DC7718B98}")          \
  X(IID, ILumIPTool, "{3411E6B8-0EB3-455E-897D-5AA60D6E4D49}")                        \
  X(IID, ILumIPOneImageTool, "{E5E57584-10A7-44C1-8BFE-C14195A4B423}")                \
  X(CLSID, LumIPOneImageTool, "{E2A6374F-4F95-48F9-B853-04B1C6F1D0FC}")               \
  X(IID, ILumIPOneImageAddSubtractConstant, "{143B86F0-5412-470E-B7C4-BE56F6F25727}") \
  X(CLSID, LumIPOneImageAddSubtractConstant, "{0420D8DA-866B-493A-9973-8B2537DB2574}") \
  X(IID, ILumIPOneImageMultiplyConstant, "{34F4A791-B69B-42AA-A888-0A673119EF3F}")    \
  X(CLSID, LumIPOneImageMultiplyConstant, "{50AE11C4-4123-4DF3-982F-590EA7F52140}")   \
  X(IID, ILumIPOneImageConvolve3x3, "{7455268A-090E-4C34-A5A0-DBAF46115554}")         \
  X(CLSID, LumIPOneImageConvolve3x3, "{EDD7A7FD-E3B6-4DC5-B4D7-BBDACAC73A3A}")        \
  X(IID, ILumIPOneImageConvolveNxM, "{E6D78A8F-B18D-4AA7-AE9B-6ED1556499FA}")         \
  X(CLSID, LumIPOneImageConvolveNxM, "{5F83747C-2556-454F-A7F5-5F4550FDAC9A}")        \
  X(IID, ILumIPOneImageHighPassFilter, "{5C39E872-B968-4096-BB84-8C25374A1328}")      \
  X(CLSID, LumIPOneImageHighPassFilter, "{ED7BBD23-10D3-4DC2-BCA8-6562C20144F1}")     \
  X(IID, ILumIPTwoImageParams, "{80542418-8E04-4612-BC15-47BA8CFADB36}")              \
  X(IID, ILumIPTwoImageAddParams, "{9758B5B1-26D7-47EA-81F9-B2F63624D7FA}")           \
  X(IID, ILumIPTwoImageAdd, "{D88CDBB9-4EAA-476D-90CB-1EE4C7401C30}")                 \
  X(CLSID, LumIPTwoImageAdd, "{415AEF2F-FDAA-44AF-B85C-F6C462F640D1}")                \
  X(IID, ILumIPTwoImageSubtractParams, "{38D9DE50-A007-4A0F-A72F-16766309CB1C}")      \
  X(IID, ILumIPTwoImageSubtract, "{00365C07-5061-4C57-AA1B-4ED8C53B7824}")            \
  X(CLSID, LumIPTwoImageSubtract, "{6282531A-7F62-40BF-8C50-0A85F1C6CFCE}")           \
  X(IID, ILumIPTwoImageMinMaxParams, "{D792A1E7-875C-4401-B047-CDBD2C3D2A61}")        \
  X(IID, ILumIPTwoImageMinMax, "{AA2C0E38-CBB8-4F25-AFA0-F9EB833F7A4C}")              \
  X(CLSID, LumIPTwoImageMinMax, "{058503E3-DE26-4087-9DB8-DAC5972B49D2}")             \
  X(IID, ILumIPTwoImageAddTool, "{2405286C-9F49-45EF-A987-BA4E6C4464BC}")             \
  X(CLSID, LumIPTwoImageAddTool, "{DAD8EEEA-FB2A-4098-97C5-48133B2807A3}")            \
  X(IID, ILumIPTwoImageSubtractTool, "{07CDD56C-0A6B-4AD9-990F-620F323BCB05}")        \
  X(CLSID, LumIPTwoImageSubtractTool, "{439A2082-DAFE-4CA8-8A33-23E2FE6D6535}")       \
  X(IID, ILumIPTwoImageMinMaxTool, "{79CAF4FE-3F77-4A26-B79E-D71C2E812113}")          \
  X(CLSID, LumIPTwoImageMinMaxTool, "{6AAC6482-FB28-4744-9CAB-F96986F61FD5}")         \
  X(IID, ILumMemberDescriptions, "{6C1F6E0B-8E2D-4B7A-9F3C-2D5A7B41C9E8}")            \
  X(IID, ILumIPOneImageFlipRotate, "{8942FBE6-4BF8-43FE-8C8E-7F91BED67098}")          \
  X(CLSID, LumIPOneImageFlipRotate, "{0DE01061-2CBD-4693-B515-38A6A877581C}")         \
  X(IID, ILumIPOneImageMissingPixel, "{75ECAD87-EAD3-4FF9-82E0-6E4A614431A9}")        \
  X(CLSID, LumIPOneImageMissingPixel, "{B9F813E8-D2C0-4472-AFEF-949D2B904393}")       \
  X(IID, ILumIPOneImageSubSampler, "{95AED1E6-A77C-46D2-8EA8-0A1A0C8110C0}")          \
  X(CLSID, LumIPOneImageSubSampler, "{5722EDE6-94A7-42DB-94BF-61436CDFC6B0}")         \
  X(IID, ILumIPOneImageExpand, "{D5AD6817-CD0B-48F3-9E8E-9A5C9BF723E9}")              \
  X(CLSID, LumIPOneImageExpand, "{0C429D03-D386-403B-9932-98A86E28280D}")             \
  X(IID, ILumIPOneImageGaussSampler, "{1CFD140F-CB5A-483A-8405-485AD47EF2E7}")        \
  X(CLSID, LumIPOneImageGaussSampler, "{0DC89B4A-3CC8-4A5C-B788-7970464A0F6F}")       \
  X(IID, ILumIPOneImageSampleConvolve, "{692EEBB8-8F7A-49C3-AB76-9BC3176D87EE}")      \
  X(CLSID, LumIPOneImageSampleConvolve, "{0EBF0208-4204-42F8-A4E7-DB5F44736CAE}")     \
  X(IID, ILumIPOneImageMedian3x3, "{07178B25-3559-4467-982E-AFA653EB4FCD}")           \
  X(CLSID, LumIPOneImageMedian3x3, "{883BD0EB-D9FF-4936-842D-29F2FA00AA53}")          \
  X(IID, ILumIPOneImageMedianNxM, "{110F29A9-C9B5-475A-98F6-60774D63B7F4}")           \
  X(CLSID, LumIPOneImageMedianNxM, "{305D3592-66D0-49CA-8FD9-4EEB06925C7D}")          \
  X(IID, ILumIPOneImageGreyMorphology3x3Element, "{993E6DB1-833F-4B63-A1C4-3B4F2B0C40C5}") \
  X(CLSID, LumIPOneImageGreyMorphology3x3Element, "{320C04FE-B193-4994-8E44-64761057A736}") \
  X(IID, ILumIPOneImageGreyMorphology3x3Elements, "{174E681E-1094-4A7D-B1DB-E2E61AF85B69}") \
  X(CLSID, LumIPOneImageGreyMorphology3x3Elements, "{C12E0DBC-11F3-4519-A90F-18F99049BCA6}") \
  X(IID, ILumIPOneImageGreyMorphology, "{635C834D-FCBF-42F2-89EB-F434CD8D70F9}")      \
  X(CLSID, LumIPOneImageGreyMorphology, "{CC429F2A-21F3-458B-B806-9D39194A6552}")     \
  X(IID, ILumIPOneImageGreyMorphologyNxM, "{141D2A56-045D-4AED-9F9A-8C1FD8C19539}")   \
  X(CLSID, LumIPOneImageGreyMorphologyNxM, "{9CBFFC35-B2E5-4EFF-8F9E-D5BF1A2B3AC7}")  \
  X(IID, ILumSobelEdgeParams, "{6F14AE13-8911-403C-BFDA-43E8E17C2934}")               \
  X(IID, ILumSobelEdge, "{05C88D91-F5B9-4740-BACC-B985D682EF16}")                     \
  X(CLSID, LumSobelEdge, "{3EBFE6B7-6925-4C86-BE4B-C30E59953CC5}")                    \
  X(IID, ILumSobelEdgeResult, "{0A702C2F-83DF-44E0-82E0-93D40FBFE3C2}")               \
  X(CLSID, LumSobelEdgeResult, "{C62C6CC4-43C6-4D5C-8351-5D7F7D471CD5}")              \
  X(IID, ILumSobelEdgeTool, "{9C8A9D69-915F-4259-B539-4D157870E5C9}")                 \
  X(CLSID, LumSobelEdgeTool, "{8105FE07-9532-4460-B450-F97E00949669}")                \
  X(IID, ILumHistogramParams, "{E9A632FD-3886-4AC1-A385-839BAA8F749E}")               \
  X(IID, ILumHistogram, "{014DAAB6-4063-4E7E-8769-09CE6657730F}")                     \
  X(CLSID, LumHistogram, "{D8196E74-C04D-4326-B237-7E7AA722C270}")                    \
  X(IID, ILumHistogramResult, "{8BB468CC-849D-4D5C-A6A1-8590A61B8B13}")               \
  X(CLSID, LumHistogramResult, "{45AB3E8C-90CC-4A67-8913-F2EBAF9F40A2}")              \
  X(IID, ILumHistogramTool, "{54C0EC86-944E-459F-B64B-F846079BEFB4}")                 \
  X(CLSID, LumHistogramTool, "{5C2F3A01-1EDB-44D7-9A43-AD777F5A66F4}")                \
  X(IID, ILumAffineTransformParams, "{5C1F28C3-84E3-4630-BF70-D35D7BE0A9FB}")         \
  X(IID, ILumAffineTransform, "{F8A5808B-4D9D-4F1C-B3FD-F0CBAE9BD7F0}")               \
  X(CLSID, LumAffineTransform, "{BBA84AD1-81F3-4739-B308-CAE63121F29F}")              \
  X(IID, ILumAffineTransformTool, "{6385B054-722F-4061-BE5E-28ACE59AE29B}")           \
  X(CLSID, LumAffineTransformTool, "{7D1B2CF2-0CB3-4ED9-805F-01C8DF02D51A}")          \
  X(IID, ILumPolarUnwrapParams, "{F438CBA6-F806-44A6-A21C-811E6F2BBD2E}")             \
  X(IID, ILumPolarUnwrap, "{9F7567FA-C46A-4C38-AC96-3DC1BFA57658}")                   \
  X(CLSID, LumPolarUnwrap, "{4E7C88AC-F83D-4968-BA08-95732F90D351}")                  \
  X(IID, ILumPolarUnwrapTool, "{838005B0-6F90-44D9-BCFE-B93978B37AE6}")               \
  X(CLSID, LumPolarUnwrapTool, "{968AC5D4-F1AD-4A82-B1AE-1D614F6B92B6}")               \
  X(IID, ILumIPOneImagePixelMap, "{3B269E0B-8BDD-437D-A8CB-74BF95B26981}")            \
  X(CLSID, LumIPOneImagePixelMap, "{3BCC62B1-81D8-415E-AC1E-AC07ADDCD67A}")           \
  X(CLSID, LumIPOneImageEqualize, "{DE4FF3A5-E754-4FD4-8EC5-0C02E8C587E7}")           \
  X(IID, ILumIPOneImageQuantize, "{EF093C19-B17A-498C-B37E-EE80EC27879F}")            \
  X(CLSID, LumIPOneImageQuantize, "{EEB6DF30-BD29-4806-9D72-61D8CE11BC67}") \
  X(IID, ILumImageAverageParams, "{DC8DADD2-835B-4F3E-9789-61376750D1FB}")            \
  X(IID, ILumImageAverage, "{B2CAF8C3-FAF1-4EF3-AF3C-4D955608A7E7}")                  \
  X(CLSID, LumImageAverage, "{72E3ECCC-7F18-4312-A82E-7D09F2F70049}")                 \
  X(IID, ILumImageAverageTool, "{211FB077-8CE7-4241-A4E3-777D387EEF39}")              \
  X(CLSID, LumImageAverageTool, "{E014F456-6AB0-4517-A327-BB7C264A6DA3}")              \
  X(IID, ILumImageSharpnessParams, "{89065C4E-CD1F-4E49-92C7-BD2477EDE246}")          \
  X(IID, ILumImageSharpness, "{7A83E1CF-B82A-4F45-A64D-23D90AD9CE31}")                \
  X(CLSID, LumImageSharpness, "{8102DC70-AE23-46C9-B506-9429AAB554E2}")               \
  X(IID, ILumImageSharpnessTool, "{AB6EFBD5-A01B-455D-A346-67524A8730F3}")            \
  X(CLSID, LumImageSharpnessTool, "{3C9E61B4-5A2D-4F7E-9B18-D47A0C26E583}")            \
  X(IID, ILumCopyRegionParams, "{49076A38-52C6-47E8-B056-9EE0E0D7A8A1}")              \
  X(IID, ILumCopyRegion, "{053454D2-13ED-4C9F-A7FF-A1C02909ECA9}")                    \
  X(CLSID, LumCopyRegion, "{2148B835-9C7E-40B7-9F8F-E6B811ED1CD8}")                   \
  X(IID, ILumCopyRegionTool, "{23AAADAF-5395-431C-BAD0-49E54CF38DC4}")                \
  X(CLSID, LumCopyRegionTool, "{1B2BF843-808E-4615-842C-ACFE8286C648}")
// clang-format on

#define LUM_DEFINE_IDENTIFIER(kind, name, text) \
  inline constexpr kind kind##_##name = lum::guid(text);
LUM_IP_IDENTIFIERS(LUM_DEFINE_IDENTIFIER)
#undef LUM_DEFINE_IDENTIFIER
