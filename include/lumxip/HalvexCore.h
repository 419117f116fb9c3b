#pragma once
// The interfaces of the core object library (type library HalvexCore) that this library
// calls: images and their pixel memory, transforms between named coordinate spaces,
// coordinate-space trees and regions. Every method returns a result code; results come
// back through out-parameters, and an out-parameter is cleared before any work that can
// fail.

#include "lumxip/HalvexCoreIds.h"
#include "lumxip/platform.h"

// Pixel-depth codes of 16-bit images.
enum LumPixelDepthConstants : LONG {
  lumPixelDepth10Bits = 1,
  lumPixelDepth12Bits = 2,
  lumPixelDepth14Bits = 3,
  lumPixelDepth16Bits = 4,
  lumPixelDepth8Bits = 5,
};

// Colour spaces of planar colour images.
enum LumColorSpaceConstants : LONG {
  lumColorSpaceRGB = 1,
  lumColorSpaceHSI = 2,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kColorSpaceNames[] = {L"lumColorSpaceRGB", L"lumColorSpaceHSI"};

// How an operator uses the region it is given.
enum LumRegionModeConstants : LONG {
  lumRegionModePixelAlignedBoundingBoxAdjustMask = 0,
  lumRegionModePixelAlignedBoundingBox = 1,
  lumRegionModeAffineTransform = 2,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kRegionModeNames[] = {
    L"lumRegionModePixelAlignedBoundingBoxAdjustMask", L"lumRegionModePixelAlignedBoundingBox",
    L"lumRegionModeAffineTransform"};

// Access modes for reading an image's pixel memory.
enum LumPixelAccessConstants : LONG {
  lumPixelAccessRead = 1,
  lumPixelAccessReadWrite = 3,
};

// ---------------------------------------------------------------------------------------
// Transforms

struct ILumTransform2DLinear;

// A map from one coordinate space to another, linear or not.
LUM_INTERFACE_ID(ILumTransform2D, IDispatch, IID_ILumTransform2D);
struct LUM_VISIBLE ILumTransform2D : IDispatch {
  virtual HRESULT get_IsLinear(VARIANT_BOOL* linear) = 0;
  // Maps one point.
  virtual HRESULT MapPoint(double x, double y, double* mappedX, double* mappedY) = 0;
  // The linear map that best approximates this one at (x, y).
  virtual HRESULT GetLinearApproximation(double x, double y, ILumTransform2DLinear** linear) = 0;
};

// x' = a x + b y + tx, y' = c x + d y + ty.
LUM_INTERFACE_ID(ILumTransform2DLinear, ILumTransform2D, IID_ILumTransform2DLinear);
struct LUM_VISIBLE ILumTransform2DLinear : ILumTransform2D {
  // The six values in one call: the matrix row-major, then the translation.
  virtual HRESULT GetValues(double* a, double* b, double* c, double* d, double* tx, double* ty) = 0;
  virtual HRESULT SetValues(double a, double b, double c, double d, double tx, double ty) = 0;
};

// Named coordinate spaces below the root "@". Each space is stored with the transform
// that maps its coordinates into its parent's (parent-from-space). A path names a space:
// "Calib", or "Merged/Calib" for a space inside a tree attached below "Merged"; "@" is
// the root, and "Merged/@" the root of the attached tree (the space "Merged" itself).
// The pixel space "#" and the selected space "." belong to an image, not to its tree.
// Unknown names give 0x8004E402.
LUM_INTERFACE_ID(ILumCoordSpaceTree, IDispatch, IID_ILumCoordSpaceTree);
struct LUM_VISIBLE ILumCoordSpaceTree : IDispatch {
  // The transform that maps points of space `source` into space `target`.
  virtual HRESULT GetTransform(BSTR target, BSTR source, ILumTransform2D** transform) = 0;
  // Adds space `name` below `parent`; E_INVALIDARG when the name is taken there.
  virtual HRESULT AddSpace(BSTR parent, BSTR name, ILumTransform2D* parentFromSpace) = 0;
  // Adds space `name` below `parent` and, below it, a copy of the whole `tree`, whose
  // root becomes the new space.
  virtual HRESULT AttachTree(BSTR parent, BSTR name, ILumTransform2D* parentFromSpace,
                             ILumCoordSpaceTree* tree) = 0;
  // Removes a space and everything below it.
  virtual HRESULT RemoveSpace(BSTR path) = 0;
  virtual HRESULT HasSpace(BSTR path, VARIANT_BOOL* exists) = 0;
  // The paths of all spaces, root first, as an array of strings.
  virtual HRESULT get_SpacePaths(VARIANT* paths) = 0;
};

// ---------------------------------------------------------------------------------------
// Pixel memory

// A block of 8-bit pixels; the address stays valid while the memory is held.
LUM_INTERFACE_ID(ILumImage8PixelMemory, IUnknown, IID_ILumImage8PixelMemory);
struct LUM_VISIBLE ILumImage8PixelMemory : IUnknown {
  virtual HRESULT get_Width(LONG* width) = 0;
  virtual HRESULT get_Height(LONG* height) = 0;
  virtual HRESULT get_Address(BYTE** pixel00) = 0;
  virtual HRESULT get_Stride(LONG* pixelsPerRow) = 0;
};

LUM_INTERFACE_ID(ILumImage16PixelMemory, IUnknown, IID_ILumImage16PixelMemory);
struct LUM_VISIBLE ILumImage16PixelMemory : IUnknown {
  virtual HRESULT get_Width(LONG* width) = 0;
  virtual HRESULT get_Height(LONG* height) = 0;
  virtual HRESULT get_Address(USHORT** pixel00) = 0;
  virtual HRESULT get_Stride(LONG* pixelsPerRow) = 0;
};

// Writable pixel memory (classes LumImage8PixelMemory, LumImage16PixelMemory): made over
// pixels that `owner` keeps alive; the memory releases the owner when it is freed.
LUM_INTERFACE_ID(ILumImage8PixelMemoryInit, IUnknown, IID_ILumImage8PixelMemoryInit);
struct LUM_VISIBLE ILumImage8PixelMemoryInit : IUnknown {
  virtual HRESULT Initialize(LONG width, LONG height, BYTE* pixel00, LONG stride,
                             IUnknown* owner) = 0;
};

LUM_INTERFACE_ID(ILumImage16PixelMemoryInit, IUnknown, IID_ILumImage16PixelMemoryInit);
struct LUM_VISIBLE ILumImage16PixelMemoryInit : IUnknown {
  virtual HRESULT Initialize(LONG width, LONG height, USHORT* pixel00, LONG stride,
                             IUnknown* owner) = 0;
};

// ---------------------------------------------------------------------------------------
// Images

// What every image offers: its place in its coordinate spaces.
LUM_INTERFACE_ID(ILumImage, IDispatch, IID_ILumImage);
struct LUM_VISIBLE ILumImage : IDispatch {
  virtual HRESULT get_SelectedSpaceName(BSTR* name) = 0;
  virtual HRESULT put_SelectedSpaceName(BSTR name) = 0;
  // The tree is copied both ways: changing a tree read from an image changes nothing.
  virtual HRESULT get_CoordSpaceTree(ILumCoordSpaceTree** tree) = 0;
  virtual HRESULT put_CoordSpaceTree(ILumCoordSpaceTree* tree) = 0;
  // The transform from space `source` to space `target`.
  virtual HRESULT GetTransform(BSTR target, BSTR source, ILumTransform2D** transform) = 0;
  virtual HRESULT put_PixelFromRootTransform(ILumTransform2D* transform) = 0;
  // The whole coordinate-space information at once, for operators that give it to new
  // images: a copy of the tree, the selected space name, the pixel-from-root transform.
  virtual HRESULT GetCoordinateInfo(ILumCoordSpaceTree** tree, BSTR* selectedSpace,
                                    ILumTransform2D** pixelFromRoot) = 0;
  virtual HRESULT SetCoordinateInfo(ILumCoordSpaceTree* tree, BSTR selectedSpace,
                                    ILumTransform2D* pixelFromRoot) = 0;
  // The size of the image's pixels (0 x 0 without pixels).
  virtual HRESULT get_Width(LONG* width) = 0;
  virtual HRESULT get_Height(LONG* height) = 0;
};

LUM_INTERFACE_ID(ILumImage8Grey, ILumImage, IID_ILumImage8Grey);
struct LUM_VISIBLE ILumImage8Grey : ILumImage {
  // The image shows these pixels from now on.
  virtual HRESULT put_PixelMemory(ILumImage8PixelMemory* memory) = 0;
};

LUM_INTERFACE_ID(ILumImage16Grey, ILumImage, IID_ILumImage16Grey);
struct LUM_VISIBLE ILumImage16Grey : ILumImage {
  virtual HRESULT put_PixelMemory(ILumImage16PixelMemory* memory) = 0;
  // LumPixelDepthConstants; any value can be stored.
  virtual HRESULT get_PixelDepth(LONG* depth) = 0;
  virtual HRESULT put_PixelDepth(LONG depth) = 0;
};

// A 16-bit image with a valid-pixel mask of the same size (0 = missing).
LUM_INTERFACE_ID(ILumImage16Range, ILumImage, IID_ILumImage16Range);
struct LUM_VISIBLE ILumImage16Range : ILumImage {
  virtual HRESULT SetPixelMemory(ILumImage16PixelMemory* pixels, ILumImage8PixelMemory* mask) = 0;
  virtual HRESULT get_PixelDepth(LONG* depth) = 0;
  virtual HRESULT put_PixelDepth(LONG depth) = 0;
};

// Three 8-bit planes and a colour space (LumColorSpaceConstants).
LUM_INTERFACE_ID(ILumImage24PlanarColor, ILumImage, IID_ILumImage24PlanarColor);
struct LUM_VISIBLE ILumImage24PlanarColor : ILumImage {
  virtual HRESULT SetPlanePixelMemories(ILumImage8PixelMemory* plane0,
                                        ILumImage8PixelMemory* plane1,
                                        ILumImage8PixelMemory* plane2, LONG colorSpace) = 0;
  virtual HRESULT get_ColorSpace(LONG* colorSpace) = 0;
  virtual HRESULT put_ColorSpace(LONG colorSpace) = 0;
};

// Reading an image's pixels: the second interface of an image. `mode` is a
// LumPixelAccessConstants value; the four reserved integers are always 0.
LUM_INTERFACE_ID(ILumImage8PixelAccess, IUnknown, IID_ILumImage8PixelAccess);
struct LUM_VISIBLE ILumImage8PixelAccess : IUnknown {
  virtual HRESULT GetPixelMemory(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2,
                                 LONG reserved3, ILumImage8PixelMemory** memory) = 0;
};

LUM_INTERFACE_ID(ILumImage16PixelAccess, IUnknown, IID_ILumImage16PixelAccess);
struct LUM_VISIBLE ILumImage16PixelAccess : IUnknown {
  virtual HRESULT GetPixelMemory(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2,
                                 LONG reserved3, ILumImage16PixelMemory** memory) = 0;
};

LUM_INTERFACE_ID(ILumImage16RangePixelAccess, IUnknown, IID_ILumImage16RangePixelAccess);
struct LUM_VISIBLE ILumImage16RangePixelAccess : IUnknown {
  virtual HRESULT GetPixelMemory(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2,
                                 LONG reserved3, ILumImage16PixelMemory** pixels,
                                 ILumImage8PixelMemory** mask) = 0;
};

LUM_INTERFACE_ID(ILumImage24PlanarPixelAccess, IUnknown, IID_ILumImage24PlanarPixelAccess);
struct LUM_VISIBLE ILumImage24PlanarPixelAccess : IUnknown {
  virtual HRESULT GetPlanePixelMemories(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2,
                                        LONG reserved3, ILumImage8PixelMemory** plane0,
                                        ILumImage8PixelMemory** plane1,
                                        ILumImage8PixelMemory** plane2) = 0;
};

// ---------------------------------------------------------------------------------------
// Regions

// An area in a named coordinate space, given to operators to limit their work.
LUM_INTERFACE_ID(ILumRegion, IDispatch, IID_ILumRegion);
struct LUM_VISIBLE ILumRegion : IDispatch {
  virtual HRESULT get_SelectedSpaceName(BSTR* name) = 0;
  virtual HRESULT put_SelectedSpaceName(BSTR name) = 0;
  // A copy of the region mapped by `transform` (which must be linear: 0x8004E200
  // otherwise); its class may change (an axis-aligned rectangle mapped by a rotation
  // becomes an affine rectangle). The copy keeps the selected space name.
  virtual HRESULT Map(ILumTransform2D* transform, ILumRegion** mapped) = 0;
  // The smallest axis-aligned rectangle holding the region: [x0, x1) x [y0, y1).
  virtual HRESULT GetBoundingRect(double* x0, double* y0, double* x1, double* y1) = 0;
  // The pixels whose centres lie inside the bounding rectangle: columns x0 to x1 - 1,
  // rows y0 to y1 - 1 (a real interval [a, b) covers ceil(a - 0.5) to ceil(b - 0.5) - 1).
  virtual HRESULT GetPixelAlignedBoundingBox(LONG* x0, LONG* y0, LONG* x1, LONG* y1) = 0;
  // The region over the pixel grid as runs: rows of (value, length) byte pairs, each row
  // ended by a pair of length 0, `inside` for pixels whose centres lie in the region and
  // `outside` for the others, starting at column `offsetX` of row `offsetY`, every row
  // `width` pixels; `rows` is a VT_ARRAY | VT_UI1 of all rows one after another;
  // `valid` is false when the region cannot be encoded.
  virtual HRESULT GetRunLengthEncoding(BYTE inside, BYTE outside, LONG* offsetX, LONG* offsetY,
                                       LONG* width, LONG* height, VARIANT* rows,
                                       VARIANT_BOOL* valid) = 0;
};

// An axis-aligned rectangle: origin (X, Y), Width, Height.
LUM_INTERFACE_ID(ILumRectangle, ILumRegion, IID_ILumRectangle);
struct LUM_VISIBLE ILumRectangle : ILumRegion {
  virtual HRESULT get_X(double* x) = 0;
  virtual HRESULT put_X(double x) = 0;
  virtual HRESULT get_Y(double* y) = 0;
  virtual HRESULT put_Y(double y) = 0;
  virtual HRESULT get_Width(double* width) = 0;
  virtual HRESULT put_Width(double width) = 0;
  virtual HRESULT get_Height(double* height) = 0;
  virtual HRESULT put_Height(double height) = 0;
};

// The region that the affine region mode requires: the image of the unit square under
// a linear transform U.
LUM_INTERFACE_ID(ILumRectangleAffine, ILumRegion, IID_ILumRectangleAffine);
struct LUM_VISIBLE ILumRectangleAffine : ILumRegion {
  virtual HRESULT GetUnitSquareTransform(ILumTransform2DLinear** unitSquare) = 0;
  virtual HRESULT SetUnitSquareTransform(ILumTransform2DLinear* unitSquare) = 0;
};

// Regions of the circle family. They hold their whole boundary. Ellipses are given by
// centre, radii and rotation (the direction of the first radius, in radians); a ring's
// second boundary is its first scaled about the centre. Mapped by a transform other than
// the identity, a circle becomes an ellipse and a circular ring an elliptical one.
#define LUM_REGION_CENTRE_PROPERTIES              \
  virtual HRESULT get_CenterX(double* value) = 0; \
  virtual HRESULT put_CenterX(double value) = 0;  \
  virtual HRESULT get_CenterY(double* value) = 0; \
  virtual HRESULT put_CenterY(double value) = 0;
#define LUM_REGION_AXES_PROPERTIES                 \
  LUM_REGION_CENTRE_PROPERTIES                     \
  virtual HRESULT get_RadiusX(double* value) = 0;  \
  virtual HRESULT put_RadiusX(double value) = 0;   \
  virtual HRESULT get_RadiusY(double* value) = 0;  \
  virtual HRESULT put_RadiusY(double value) = 0;   \
  virtual HRESULT get_Rotation(double* value) = 0; \
  virtual HRESULT put_Rotation(double value) = 0;

LUM_INTERFACE_ID(ILumCircle, ILumRegion, IID_ILumCircle);
struct LUM_VISIBLE ILumCircle : ILumRegion {
  LUM_REGION_CENTRE_PROPERTIES
  virtual HRESULT get_Radius(double* value) = 0;
  virtual HRESULT put_Radius(double value) = 0;
};

LUM_INTERFACE_ID(ILumEllipse, ILumRegion, IID_ILumEllipse);
struct LUM_VISIBLE ILumEllipse : ILumRegion {
  LUM_REGION_AXES_PROPERTIES
};

// The ring between the circles of radius Radius and SecondRadius.
LUM_INTERFACE_ID(ILumCircularAnnulus, ILumRegion, IID_ILumCircularAnnulus);
struct LUM_VISIBLE ILumCircularAnnulus : ILumRegion {
  LUM_REGION_CENTRE_PROPERTIES
  virtual HRESULT get_Radius(double* value) = 0;
  virtual HRESULT put_Radius(double value) = 0;
  virtual HRESULT get_SecondRadius(double* value) = 0;
  virtual HRESULT put_SecondRadius(double value) = 0;
};

// The ring between the ellipse and the ellipse scaled by RadialScale about its centre.
LUM_INTERFACE_ID(ILumEllipticalAnnulus, ILumRegion, IID_ILumEllipticalAnnulus);
struct LUM_VISIBLE ILumEllipticalAnnulus : ILumRegion {
  LUM_REGION_AXES_PROPERTIES
  virtual HRESULT get_RadialScale(double* value) = 0;
  virtual HRESULT put_RadialScale(double value) = 0;
};

// The part of an elliptical ring from StartAngle to EndAngle, measured in the ellipse's
// own frame (0 along RadiusX, a quarter turn along RadiusY). AngleFromStart and
// RadialFromBase say from which end its normalised coordinates grow.
LUM_INTERFACE_ID(ILumEllipticalAnnulusSection, ILumRegion, IID_ILumEllipticalAnnulusSection);
struct LUM_VISIBLE ILumEllipticalAnnulusSection : ILumRegion {
  LUM_REGION_AXES_PROPERTIES
  virtual HRESULT get_RadialScale(double* value) = 0;
  virtual HRESULT put_RadialScale(double value) = 0;
  virtual HRESULT get_StartAngle(double* value) = 0;
  virtual HRESULT put_StartAngle(double value) = 0;
  virtual HRESULT get_EndAngle(double* value) = 0;
  virtual HRESULT put_EndAngle(double value) = 0;
  virtual HRESULT get_AngleFromStart(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_AngleFromStart(VARIANT_BOOL value) = 0;
  virtual HRESULT get_RadialFromBase(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_RadialFromBase(VARIANT_BOOL value) = 0;
};

// A closed polygon through its vertices; self-intersections by the even-odd rule. It
// holds its lower edges and not its upper ones, as the rectangle does.
LUM_INTERFACE_ID(ILumPolygon, ILumRegion, IID_ILumPolygon);
struct LUM_VISIBLE ILumPolygon : ILumRegion {
  virtual HRESULT get_VertexCount(LONG* count) = 0;
  // 0x8004C180 for an index outside 0 .. VertexCount - 1.
  virtual HRESULT GetVertex(LONG index, double* x, double* y) = 0;
  virtual HRESULT AddVertex(double x, double y) = 0;
  // All vertices at once: a VT_ARRAY | VT_R8 of x0, y0, x1, y1, ... (an even count).
  virtual HRESULT SetVertices(VARIANT coordinates) = 0;
  virtual HRESULT GetVertices(VARIANT* coordinates) = 0;
};

// ---------------------------------------------------------------------------------------
// Services

// Message texts and help files by message identifier. Identifiers are 32-bit values such
// as 0x8004810A; a negative result means that no text is available.
LUM_INTERFACE_ID(ILumMessageService, IUnknown, IID_ILumMessageService);
struct LUM_VISIBLE ILumMessageService : IUnknown {
  // Told first, once: the module whose messages are asked for (its load address).
  virtual HRESULT Initialize(void* module) = 0;
  // The text into `buffer` of `capacity` characters, cut to fit and terminated.
  virtual HRESULT GetMessageText(ULONG messageId, LPOLESTR buffer, ULONG capacity) = 0;
  // As GetMessageText with "%1" to "%3" replaced by the arguments (null reads as empty).
  virtual HRESULT GetMessageTextWithArgs(ULONG messageId, LPCOLESTR argument1, LPCOLESTR argument2,
                                         LPCOLESTR argument3, LPOLESTR buffer, ULONG capacity) = 0;
  virtual HRESULT GetMessageBstr(ULONG messageId, BSTR* text) = 0;
  // The help file that documents the message.
  virtual HRESULT GetHelpFile(ULONG messageId, BSTR* helpFile) = 0;
};

// ---------------------------------------------------------------------------------------
// What every component offers

// Dispatch identifiers of the event interfaces.
inline constexpr DISPID DISPID_LumChangeEvent = 7456;  // flags, value, state ID (array order)
inline constexpr DISPID DISPID_LumToolRunning = 7457;
inline constexpr DISPID DISPID_LumToolRan = 7458;
inline constexpr DISPID DISPID_LumToolTerminateRequested = 7459;
inline constexpr DISPID DISPID_LumCollectionInserted = 1152;  // index
inline constexpr DISPID DISPID_LumCollectionMoved = 1153;     // from, to
inline constexpr DISPID DISPID_LumCollectionCleared = 1154;
inline constexpr DISPID DISPID_LumCollectionReplaced = 1156;  // index, old item
inline constexpr DISPID DISPID_LumCollectionRemoved = 1157;   // index, removed item

// State identifiers every component shares.
inline constexpr LONG lumStateSeveralChanged = -1;  // more than one state changed
inline constexpr LONG lumStateItemChanged = -2;     // an item of a collection changed
inline constexpr LONG lumStateTag = 16818219;       // 0x100A02B

// Change flags, ORed while delivery is suspended.
inline constexpr LONG lumChangeSetByClient = 1;
inline constexpr LONG lumChangeCurrentRecord = 2;
inline constexpr LONG lumChangeProducedByRun = 4;
inline constexpr LONG lumChangeLastRunRecord = 8;

// Dispatch identifiers of the members every component adds to its dispatch interface.
inline constexpr DISPID DISPID_LumObject_GetLocalComputerName = 0x100A028;
inline constexpr DISPID DISPID_LumObject_Clone = 0x100A029;
inline constexpr DISPID DISPID_LumObject_CreateObject = 0x100A02A;
inline constexpr DISPID DISPID_LumObject_Tag = lumStateTag;
inline constexpr DISPID DISPID_LumObject_HasChanged = 0x100A02C;
inline constexpr DISPID DISPID_LumObject_SuspendEventDelivery = 0x100A02D;
inline constexpr DISPID DISPID_LumObject_ResumeAndFireEvent = 0x100A02E;
inline constexpr DISPID DISPID_LumObject_EventDeliverySuspended = 0x100A02F;

LUM_INTERFACE_ID(ILumObject, IDispatch, IID_ILumObject);
struct LUM_VISIBLE ILumObject : IDispatch {
  virtual HRESULT GetLocalComputerName(BSTR* name) = 0;
  // A deep copy of the object.
  virtual HRESULT Clone(ILumObject** copy) = 0;
  // Creates an object in-process from a ProgID or a "{class identifier}".
  virtual HRESULT CreateObject(BSTR progIdOrClassId, IUnknown** object) = 0;
  virtual HRESULT get_Tag(VARIANT* tag) = 0;
  virtual HRESULT put_Tag(VARIANT tag) = 0;
  virtual HRESULT putref_Tag(VARIANT tag) = 0;
};

LUM_INTERFACE_ID(ILumChangeEventConfiguration, IDispatch, IID_ILumChangeEventConfiguration);
struct LUM_VISIBLE ILumChangeEventConfiguration : IDispatch {
  virtual HRESULT SuspendEventDelivery() = 0;
  // Resumes once; the last resume delivers what accumulated as one event.
  virtual HRESULT ResumeAndFireEvent() = 0;
  virtual HRESULT get_EventDeliverySuspended(LONG* suspendCount) = 0;
};

struct ILumArchive;

LUM_INTERFACE_ID(ILumPersistArchive, IUnknown, IID_ILumPersistArchive);
struct LUM_VISIBLE ILumPersistArchive : IUnknown {
  // Writes (mode bit 30 set) or reads the component's persisted properties.
  virtual HRESULT Persist(ILumArchive* archive, LONG mode) = 0;
  // A second archive operation whose meaning was never settled: E_NOTIMPL.
  virtual HRESULT PersistReserved(ILumArchive* archive, LONG mode) = 0;
  virtual HRESULT PostLoad(VARIANT_BOOL nested) = 0;
  virtual HRESULT get_HasChanged(VARIANT_BOOL* changed) = 0;
  virtual HRESULT put_HasChanged(VARIANT_BOOL changed) = 0;
};

// The bridge to a component's counterpart in the host's managed-code layer.
LUM_INTERFACE_ID(ILumComInternal, IUnknown, IID_ILumComInternal);
struct LUM_VISIBLE ILumComInternal : IUnknown {
  // The counterpart, made on first use by the process-wide managed factory.
  virtual HRESULT GetImpl(IUnknown** counterpart) = 0;
  virtual HRESULT SetImpl(IUnknown* counterpart) = 0;
};

// What a host's managed-code layer installs (lum::setManagedCounterpartFactory) to make
// counterparts. Events reach a counterpart through its IDispatch::Invoke.
LUM_INTERFACE_ID(ILumManagedFactory, IUnknown, IID_ILumManagedFactory);
struct LUM_VISIBLE ILumManagedFactory : IUnknown {
  virtual HRESULT CreateCounterpart(BSTR assemblyName, BSTR typeName, IUnknown* component,
                                    REFIID primaryInterface, IUnknown** counterpart) = 0;
};

// ---------------------------------------------------------------------------------------
// Collections

// Dispatch IDs of the collection members.
inline constexpr DISPID DISPID_LumCollection_Count = 1;
inline constexpr DISPID DISPID_LumCollection_FindItem = 2;
inline constexpr DISPID DISPID_LumCollection_Key = 3;
inline constexpr DISPID DISPID_LumCollection_FindKey = 4;
inline constexpr DISPID DISPID_LumCollection_Add = 5;
inline constexpr DISPID DISPID_LumCollection_Remove = 6;
inline constexpr DISPID DISPID_LumCollection_Move = 7;
inline constexpr DISPID DISPID_LumCollection_Clear = 8;

// What a collection hands on when one of its items changed (state ID -2): the item's
// event, its arguments in declaration order, the item and its index.
LUM_INTERFACE_ID(ILumEventInfo, IDispatch, IID_ILumEventInfo);
struct LUM_VISIBLE ILumEventInfo : IDispatch {
  virtual HRESULT get_EventDispID(LONG* dispid) = 0;
  virtual HRESULT get_ArgumentCount(LONG* count) = 0;
  virtual HRESULT GetArgument(LONG index, VARIANT* argument) = 0;  // E_INVALIDARG outside
  virtual HRESULT get_Sender(IUnknown** item) = 0;
  virtual HRESULT get_SenderIndex(LONG* index) = 0;
};

// An ordered collection of values (objects or not) with optional keys; indexes from 0.
// Index errors give 0x8004C180; an object added twice gives 0x8004C184 where the
// collection refuses duplicates.
LUM_INTERFACE_ID(ILumCollection, IDispatch, IID_ILumCollection);
struct LUM_VISIBLE ILumCollection : IDispatch {
  virtual HRESULT get__NewEnum(IUnknown** enumerator) = 0;
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_Item(LONG index, VARIANT* item) = 0;
  // Replaces the item at `index`; `index` = Count appends.
  virtual HRESULT putref_Item(LONG index, VARIANT item) = 0;
  // The index of the first entry holding `item` (objects by identity), -1 if none.
  virtual HRESULT FindItem(VARIANT item, LONG* index) = 0;
  virtual HRESULT get_Key(LONG index, BSTR* key) = 0;
  virtual HRESULT put_Key(LONG index, BSTR key) = 0;
  // The index of the first entry with `key`, -1 if none.
  virtual HRESULT FindKey(BSTR key, LONG* index) = 0;
  // Inserts at `index` (-1 or Count: at the end).
  virtual HRESULT Add(VARIANT item, BSTR key, LONG index) = 0;
  // Removes by index, or by key when given a string.
  virtual HRESULT Remove(VARIANT indexOrKey) = 0;
  // Takes the entry out at `from` and inserts it at `to`, counted after the removal.
  virtual HRESULT Move(LONG from, LONG to) = 0;
  // Removes every entry, last first.
  virtual HRESULT Clear() = 0;
};

// ---------------------------------------------------------------------------------------
// Persistence

// Persist modes: bit 30 set while an archive is written; bit 29 on reading keeps a Tag
// the archive lacks; the low 24 bits select groups of properties.
inline constexpr LONG lumPersistWriting = 0x40000000;
inline constexpr LONG lumPersistKeepAbsentTag = 0x20000000;
inline constexpr LONG lumPersistGroupMask = 0x00FFFFFF;
inline constexpr LONG lumPersistAllGroups = 0x00FFFFFF;

// The property archive: an ordered list of named values that components write their
// persisted properties into and read them back from (class LumArchive, made directly,
// never by class identifier). Reading a name the archive lacks, or a value that does not
// convert, leaves the caller's value and returns S_FALSE; the archive notes the problem.
LUM_INTERFACE_ID(ILumArchive, IDispatch, IID_ILumArchive);
struct LUM_VISIBLE ILumArchive : IDispatch {
  virtual HRESULT PersistVariant(BSTR name, VARIANT* value) = 0;
  virtual HRESULT PersistUI1(BSTR name, BYTE* value) = 0;
  virtual HRESULT PersistI2(BSTR name, SHORT* value) = 0;
  virtual HRESULT PersistI4(BSTR name, LONG* value) = 0;
  virtual HRESULT PersistR4(BSTR name, FLOAT* value) = 0;
  virtual HRESULT PersistR8(BSTR name, DOUBLE* value) = 0;
  virtual HRESULT PersistBoolean(BSTR name, VARIANT_BOOL* value) = 0;
  virtual HRESULT PersistString(BSTR name, BSTR* value) = 0;
  virtual HRESULT LoadObject(BSTR name, IUnknown** object) = 0;
  virtual HRESULT SaveObject(BSTR name, IUnknown* object) = 0;
  // The entries as a collection (the archive also answers ILumCollection).
  virtual HRESULT get__NewEnum(IUnknown** enumerator) = 0;
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_Item(LONG index, VARIANT* item) = 0;
  virtual HRESULT FindItem(VARIANT item, LONG* index) = 0;
  virtual HRESULT get_Key(LONG index, BSTR* key) = 0;
  virtual HRESULT FindKey(BSTR key, LONG* index) = 0;
  // The value under `name`; with `defaultValue` given (not VT_ERROR), a missing name
  // gives the default instead of E_INVALIDARG.
  virtual HRESULT ReadProperty(BSTR name, VARIANT defaultValue, VARIANT* value) = 0;
  // Appends {value, name}, unless `defaultValue` is given and the value equals it.
  virtual HRESULT WriteProperty(BSTR name, VARIANT value, VARIANT defaultValue) = 0;
  // lumPersistWriting set: being written; clear: being read.
  virtual HRESULT get_Mode(LONG* mode) = 0;
  virtual HRESULT put_Mode(LONG mode) = 0;
  // The names of properties that failed to read, separated by ", ", and how many.
  virtual HRESULT get_Problems(BSTR* problems) = 0;
  virtual HRESULT get_ProblemCount(LONG* count) = 0;
  // Notes a problem: the name, followed by `text` when given.
  virtual HRESULT AddProblem(BSTR name, BSTR text) = 0;
  // The keys of entries never read (a misspelled name in a hand-edited job).
  virtual HRESULT get_UnreadKeys(BSTR* keys) = 0;
};

// Stream formats of the persistence service.
enum LumPersistFormatConstants : LONG {
  lumPersistFormatBinary = 0,
  lumPersistFormatText = 1,  // JSON, for job files; Load recognises either by content
};

// The persistence service: writes a component, with everything it holds, into a stream,
// and reads it back. Loading suspends each object's change delivery once, has it read
// its properties and tells it PostLoad; the top object then reports that everything
// changed. A load that met problems (missing or invalid values, unread entries) returns
// S_FALSE with the problems in the error information.
LUM_INTERFACE_ID(ILumPersistenceService, IUnknown, IID_ILumPersistenceService);
struct LUM_VISIBLE ILumPersistenceService : IUnknown {
  virtual HRESULT Save(IUnknown* object, IStream* stream, LONG mode, LONG format) = 0;
  // Makes the object the stream holds.
  virtual HRESULT Load(IStream* stream, LONG mode, IUnknown** object) = 0;
  // Reads the stream into `object`, which must be of the class the stream holds.
  virtual HRESULT LoadInto(IUnknown* object, IStream* stream, LONG mode) = 0;
};

// ---------------------------------------------------------------------------------------
// What tools hand a host: run status, records, string collections, the stopwatch and the
// tool interface. Times are in milliseconds throughout.

// The outcome of a tool's last run (class LumRunStatus). A new one has result 0, empty
// texts and zero times.
LUM_INTERFACE_ID(ILumRunStatus, IDispatch, IID_ILumRunStatus);
struct LUM_VISIBLE ILumRunStatus : IDispatch {
  virtual HRESULT get_ResultCode(LONG* result) = 0;
  virtual HRESULT get_Message(BSTR* message) = 0;
  virtual HRESULT get_ProcessingTime(double* milliseconds) = 0;
  virtual HRESULT get_TotalTime(double* milliseconds) = 0;
  virtual HRESULT get_ErrorSource(BSTR* source) = 0;
};

// The run status's second interface: all five values in one call.
LUM_INTERFACE_ID(ILumRunStatusSetting, IUnknown, IID_ILumRunStatusSetting);
struct LUM_VISIBLE ILumRunStatusSetting : IUnknown {
  virtual HRESULT SetStatus(LONG resultCode, BSTR message, double processingTime, double totalTime,
                            BSTR errorSource) = 0;
};

// What a record's content is.
enum LumRecordContentTypeConstants : LONG {
  lumRecordContentNone = 0,
  lumRecordContentImage = 0x100000D,
  lumRecordContentRegion = 0x200000D,    // a region or another shape
  lumRecordContentGraphics = 0x300000D,  // an ILumGraphicCollection
};

// What a record's content shows.
enum LumRecordUsageConstants : LONG {
  lumRecordUsageNone = 0,
  lumRecordUsageCurrentRegion = 2,
  lumRecordUsageCurrentInputImage = 4,
  lumRecordUsageDerivedDiagnosticImage = 5,
  lumRecordUsageLastRun = 6,  // the images and regions of a last-run record
};

// One node of what a tool shows a host (class LumRecord): a key, a content-type code, a
// usage code, an integer, the content (an object in a VARIANT), an annotation, and
// ordered sub-records. A record made by class identifier is given its key with
// Initialize; sub-records are made by AddSubRecord.
LUM_INTERFACE_ID(ILumRecord, IDispatch, IID_ILumRecord);
struct LUM_VISIBLE ILumRecord : IDispatch {
  // Sets the key and empties everything else: codes and integer 0, no content, no
  // annotation, no sub-records.
  virtual HRESULT Initialize(BSTR key) = 0;
  virtual HRESULT get_Key(BSTR* key) = 0;
  virtual HRESULT get_ContentType(LONG* contentType) = 0;  // LumRecordContentTypeConstants
  virtual HRESULT get_Usage(LONG* usage) = 0;              // LumRecordUsageConstants
  virtual HRESULT get_Integer(LONG* value) = 0;
  virtual HRESULT get_Content(VARIANT* content) = 0;
  virtual HRESULT get_Annotation(BSTR* annotation) = 0;
  virtual HRESULT get_SubRecordCount(LONG* count) = 0;
  // By 0-based index, or by key when given a string (the first sub-record with that key).
  // A bad index or an unknown key gives 0x8004C180, as collections do.
  virtual HRESULT get_SubRecord(VARIANT indexOrKey, ILumRecord** subRecord) = 0;
  // Appends a new sub-record holding these values and hands it out through `subRecord`
  // when that is not null. The two reserved integers must be 0 (E_INVALIDARG otherwise).
  virtual HRESULT AddSubRecord(BSTR key, LONG contentType, LONG usage, LONG integer,
                               VARIANT content, BSTR annotation, LONG reserved0, LONG reserved1,
                               ILumRecord** subRecord) = 0;
};

// Ordered strings with keys (class LumStringCollection): a tool's exposed input and
// output properties, each a descriptor such as "name{InputImage} path{InputImage}
// type{ILumImage}" under the key "InputImage". Indexes from 0; keys compare exactly and
// need not be unique (a lookup finds the first); an empty key is no key. A bad index or
// an unknown key gives 0x8004C180, as collections do.
LUM_INTERFACE_ID(ILumStringCollection, IDispatch, IID_ILumStringCollection);
struct LUM_VISIBLE ILumStringCollection : IDispatch {
  virtual HRESULT get__NewEnum(IUnknown** enumerator) = 0;  // the items as VT_BSTR values
  virtual HRESULT get_Count(LONG* count) = 0;
  // By 0-based index, or by key when given a string.
  virtual HRESULT get_Item(VARIANT indexOrKey, BSTR* item) = 0;
  virtual HRESULT get_Key(LONG index, BSTR* key) = 0;
  virtual HRESULT FindKey(BSTR key, LONG* index) = 0;  // -1 if none
  virtual HRESULT Add(BSTR item, BSTR key) = 0;        // at the end
  virtual HRESULT Remove(VARIANT indexOrKey) = 0;
  virtual HRESULT Clear() = 0;
};

// A stopwatch on the steady clock (class LumStopwatch), read in milliseconds, also while
// it runs. A new one stands at 0, stopped.
LUM_INTERFACE_ID(ILumStopwatch, IDispatch, IID_ILumStopwatch);
struct LUM_VISIBLE ILumStopwatch : IDispatch {
  virtual HRESULT Reset() = 0;  // stops it at 0
  virtual HRESULT Start() = 0;  // runs on from its reading; nothing while running
  virtual HRESULT Stop() = 0;   // keeps its reading; nothing while stopped
  virtual HRESULT get_ElapsedTime(double* milliseconds) = 0;
  virtual HRESULT get_Running(VARIANT_BOOL* running) = 0;
};

// What every tool offers a host of the core object library; a tool's base forwards each
// member to the tool's own. Events come through ILumToolEvents (DIID_ILumToolEvents):
// the change event 7456 and the tool events 7457 running, 7458 ran and 7459 terminate
// requested (DISPID_LumTool...), the last three without arguments.
LUM_INTERFACE_ID(ILumTool, IDispatch, IID_ILumTool);
struct LUM_VISIBLE ILumTool : IDispatch {
  // Runs the tool; S_OK also when its work failed: the outcome is in RunStatus.
  virtual HRESULT Run() = 0;
  virtual HRESULT get_RunStatus(ILumRunStatus** status) = 0;
  virtual HRESULT get_ToolName(BSTR* name) = 0;
  virtual HRESULT put_ToolName(BSTR name) = 0;
  // Asks the tool's host to stop it (tool event 7459); changes nothing.
  virtual HRESULT Terminate() = 0;
  // The records "Current" (what the tool will work on) and "LastRun" (what it worked on
  // and produced).
  virtual HRESULT CreateCurrentRecord(ILumRecord** record) = 0;
  virtual HRESULT CreateLastRunRecord(ILumRecord** record) = 0;
  virtual HRESULT get_ExposedInputProperties(ILumStringCollection** properties) = 0;
  virtual HRESULT get_ExposedOutputProperties(ILumStringCollection** properties) = 0;
  // The ProgID of the control that edits the tool.
  virtual HRESULT get_ControlProgID(BSTR* progId) = 0;
  virtual HRESULT put_ControlProgID(BSTR progId) = 0;
};

// ---------------------------------------------------------------------------------------
// Graphics

// Coordinate axes drawn at an origin in the space SelectedSpaceName names; a display
// lets the user drag them (a tool's interactive point). SetOrigin moves both
// coordinates with one change event.
LUM_INTERFACE_ID(ILumCoordinateAxes, IDispatch, IID_ILumCoordinateAxes);
struct LUM_VISIBLE ILumCoordinateAxes : IDispatch {
  virtual HRESULT get_SelectedSpaceName(BSTR* name) = 0;
  virtual HRESULT put_SelectedSpaceName(BSTR name) = 0;
  virtual HRESULT get_OriginX(double* x) = 0;
  virtual HRESULT put_OriginX(double x) = 0;
  virtual HRESULT get_OriginY(double* y) = 0;
  virtual HRESULT put_OriginY(double y) = 0;
  virtual HRESULT SetOrigin(double x, double y) = 0;
  // Length of the drawn axes, in the selected space's units.
  virtual HRESULT get_AxisLength(double* length) = 0;
  virtual HRESULT put_AxisLength(double length) = 0;
};

// What every drawn figure carries: the space it is drawn in, its colour (0x00BBGGRR) and
// a tip text a display shows while the pointer rests on it, when TipTextEnabled is set.
LUM_INTERFACE_ID(ILumGraphic, IDispatch, IID_ILumGraphic);
struct LUM_VISIBLE ILumGraphic : IDispatch {
  virtual HRESULT get_SelectedSpaceName(BSTR* name) = 0;
  virtual HRESULT put_SelectedSpaceName(BSTR name) = 0;
  virtual HRESULT get_Color(LONG* color) = 0;
  virtual HRESULT put_Color(LONG color) = 0;
  virtual HRESULT get_TipText(BSTR* text) = 0;
  virtual HRESULT put_TipText(BSTR text) = 0;
  virtual HRESULT get_TipTextEnabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT put_TipTextEnabled(VARIANT_BOOL enabled) = 0;
};

// A straight line from (StartX, StartY) to (EndX, EndY).
LUM_INTERFACE_ID(ILumLineGraphic, ILumGraphic, IID_ILumLineGraphic);
struct LUM_VISIBLE ILumLineGraphic : ILumGraphic {
  virtual HRESULT get_StartX(double* value) = 0;
  virtual HRESULT put_StartX(double value) = 0;
  virtual HRESULT get_StartY(double* value) = 0;
  virtual HRESULT put_StartY(double value) = 0;
  virtual HRESULT get_EndX(double* value) = 0;
  virtual HRESULT put_EndX(double value) = 0;
  virtual HRESULT get_EndY(double* value) = 0;
  virtual HRESULT put_EndY(double value) = 0;
};

// An open chain of straight lines through its vertices, given all at once as a
// one-dimensional VT_ARRAY | VT_R8 of x0, y0, x1, y1, ... (an even count; EMPTY: none).
LUM_INTERFACE_ID(ILumPolylineGraphic, ILumGraphic, IID_ILumPolylineGraphic);
struct LUM_VISIBLE ILumPolylineGraphic : ILumGraphic {
  virtual HRESULT get_Vertices(VARIANT* coordinates) = 0;
  virtual HRESULT put_Vertices(VARIANT coordinates) = 0;
};

// A text whose upper-left corner lies at (X, Y).
LUM_INTERFACE_ID(ILumTextGraphic, ILumGraphic, IID_ILumTextGraphic);
struct LUM_VISIBLE ILumTextGraphic : ILumGraphic {
  virtual HRESULT get_X(double* value) = 0;
  virtual HRESULT put_X(double value) = 0;
  virtual HRESULT get_Y(double* value) = 0;
  virtual HRESULT put_Y(double value) = 0;
  virtual HRESULT get_Text(BSTR* text) = 0;
  virtual HRESULT put_Text(BSTR text) = 0;
};

// A composite graphic: graphics (objects answering ILumGraphic) drawn together, each
// under the name it was added with (the collection's keys). The same object is held
// once; changes of the children reach the collection's listeners as state -2.
LUM_INTERFACE_ID(ILumGraphicCollection, ILumCollection, IID_ILumGraphicCollection);
struct LUM_VISIBLE ILumGraphicCollection : ILumCollection {};

// ---------------------------------------------------------------------------------------
// State identifiers of the core object library's own components.

enum LumImageStateIDs : LONG {
  lumImage_SelectedSpaceName = 0x1300001,
  lumImage_CoordSpaceTree = 0x1300002,
  lumImage_PixelFromRoot = 0x1300003,
  lumImage_PixelMemory = 0x1300004,
  lumImage_PixelDepth = 0x1300005,
  lumImage_ColorSpace = 0x1300006,
};

enum LumCoordSpaceTreeStateIDs : LONG {
  lumCoordSpaceTree_Spaces = 0x1300101,
};

enum LumRegionStateIDs : LONG {
  lumRegion_SelectedSpaceName = 0x1300201,
  lumRectangle_X = 0x1300202,
  lumRectangle_Y = 0x1300203,
  lumRectangle_Width = 0x1300204,
  lumRectangle_Height = 0x1300205,
  lumRectangleAffine_UnitSquare = 0x1300206,
  lumRegion_CenterX = 0x1300207,
  lumRegion_CenterY = 0x1300208,
  lumRegion_Radius = 0x1300209,
  lumRegion_SecondRadius = 0x130020A,
  lumRegion_RadiusX = 0x130020B,
  lumRegion_RadiusY = 0x130020C,
  lumRegion_Rotation = 0x130020D,
  lumRegion_RadialScale = 0x130020E,
  lumRegion_StartAngle = 0x130020F,
  lumRegion_EndAngle = 0x1300210,
  lumRegion_AngleFromStart = 0x1300211,
  lumRegion_RadialFromBase = 0x1300212,
  lumPolygon_Vertices = 0x1300213,
};

enum LumRunStatusStateIDs : LONG {
  lumRunStatus_ResultCode = 0x1300301,
  lumRunStatus_Message = 0x1300302,
  lumRunStatus_ProcessingTime = 0x1300303,
  lumRunStatus_TotalTime = 0x1300304,
  lumRunStatus_ErrorSource = 0x1300305,
};

enum LumRecordStateIDs : LONG {
  lumRecord_Key = 0x1300401,
  lumRecord_ContentType = 0x1300402,
  lumRecord_Usage = 0x1300403,
  lumRecord_Integer = 0x1300404,
  lumRecord_Content = 0x1300405,
  lumRecord_Annotation = 0x1300406,
  lumRecord_SubRecord = 0x1300407,  // reported when a sub-record is added
  lumRecord_SubRecordCount = 0x1300408,
};

enum LumStringCollectionStateIDs : LONG {
  lumStringCollection_Items = 0x1300501,
};

enum LumCoordinateAxesStateIDs : LONG {
  lumCoordinateAxes_SelectedSpaceName = 0x1300701,
  lumCoordinateAxes_OriginX = 0x1300702,
  lumCoordinateAxes_OriginY = 0x1300703,
  lumCoordinateAxes_AxisLength = 0x1300704,
};

enum LumGraphicStateIDs : LONG {
  lumGraphic_SelectedSpaceName = 0x1300801,
  lumGraphic_Color = 0x1300802,
  lumGraphic_TipText = 0x1300803,
  lumGraphic_TipTextEnabled = 0x1300804,
  lumLineGraphic_StartX = 0x1300811,
  lumLineGraphic_StartY = 0x1300812,
  lumLineGraphic_EndX = 0x1300813,
  lumLineGraphic_EndY = 0x1300814,
  lumPolylineGraphic_Vertices = 0x1300821,
  lumTextGraphic_X = 0x1300831,
  lumTextGraphic_Y = 0x1300832,
  lumTextGraphic_Text = 0x1300833,
};

// Colours of graphics, 0x00BBGGRR.
inline constexpr LONG lumColorGreen = 0x0000FF00;
inline constexpr LONG lumColorYellow = 0x0000FFFF;
inline constexpr LONG lumColorWhite = 0x00FFFFFF;

// Dispatch identifiers of their methods (a string collection's members have those of
// ILumCollection).
inline constexpr DISPID DISPID_LumRunStatus_SetStatus = 0x1300310;
inline constexpr DISPID DISPID_LumRecord_Initialize = 0x1300410;
inline constexpr DISPID DISPID_LumRecord_AddSubRecord = 0x1300411;
inline constexpr DISPID DISPID_LumStopwatch_Reset = 0x1300601;
inline constexpr DISPID DISPID_LumStopwatch_Start = 0x1300602;
inline constexpr DISPID DISPID_LumStopwatch_Stop = 0x1300603;
inline constexpr DISPID DISPID_LumStopwatch_ElapsedTime = 0x1300604;
inline constexpr DISPID DISPID_LumStopwatch_Running = 0x1300605;
inline constexpr DISPID DISPID_LumCoordinateAxes_SetOrigin = 0x1300710;
