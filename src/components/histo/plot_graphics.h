#pragma once
// Builds the figures of a plot in the core object library: a graphic collection and
// its named children (lines, polylines, texts), each made by class identifier. The plot
// area is 256 units wide and high with y growing downwards, so its base line is y = 256.

#include <span>
#include <string>

#include "lumxip/HalvexCore.h"
#include "platform/unknown.h"

inline constexpr double kPlotSize = 256;
inline constexpr LONG kPlotAxesColor = 0x00808080;  // grey

class lcPlotGraphics {
 public:
  // Children get tip texts only when `tipText` is set. A creation that fails throws its
  // result code.
  explicit lcPlotGraphics(bool tipText);

  void addLine(const wchar_t* name, double x0, double y0, double x1, double y1, LONG color,
               const std::wstring& tip);
  // `xy` holds x0, y0, x1, y1, ...
  void addPolyline(const wchar_t* name, std::span<const double> xy, LONG color,
                   const std::wstring& tip);
  void addText(const wchar_t* name, double x, double y, const std::wstring& text, LONG color,
               const std::wstring& tip);
  // "Axes": the left edge and the base line of the plot area.
  void addAxes(const std::wstring& tip);

  ComPtr<ILumGraphicCollection> collection() const { return collection_; }

 private:
  void add(ILumGraphic& graphic, const wchar_t* name, LONG color, const std::wstring& tip);

  ComPtr<ILumGraphicCollection> collection_;
  bool tipText_;
};

// "%5.2lf" of `value`, the format of the plots' numeric labels.
std::wstring lcPlotNumber(double value);
