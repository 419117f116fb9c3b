#pragma once
// The type library of this library, HalvexImageProcessing: its identifier, and (as the
// components arrive) their interfaces, enumerations, state identifiers and error
// constants.

#include "lumxip/HalvexCore.h"
#include "lumxip/ip/affine_transform.h"
#include "lumxip/ip/constant_arithmetic.h"
#include "lumxip/ip/convolution.h"
#include "lumxip/ip/copy_region.h"
#include "lumxip/ip/flip_rotate.h"
#include "lumxip/ip/grey_morphology.h"
#include "lumxip/ip/histogram.h"
#include "lumxip/ip/image_average.h"
#include "lumxip/ip/image_sharpness.h"
#include "lumxip/ip/median.h"
#include "lumxip/ip/member_descriptions.h"
#include "lumxip/ip/one_image.h"
#include "lumxip/ip/one_image_tool.h"
#include "lumxip/ip/pixel_remap.h"
#include "lumxip/ip/polar_unwrap.h"
#include "lumxip/ip/result_codes.h"
#include "lumxip/ip/sampling.h"
#include "lumxip/ip/sobel_edge.h"
#include "lumxip/ip/tool.h"
#include "lumxip/ip/two_image.h"
#include "lumxip/ip/two_image_arithmetic.h"

inline constexpr GUID LIBID_HalvexImageProcessing =
    lum::guid("{FD1986F5-29AF-11D3-8550-0050041ADDAF}");
