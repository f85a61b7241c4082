#include "ui/skin/outline.h"

#include <vector>

namespace mvk {
namespace {

// Rectangles handed to the region in one go; large masks would otherwise ask
// for one huge region at once.
constexpr size_t kRectsPerRegion = 2000;

bool InRange(int value, int lowest, int highest) { return value >= lowest && value <= highest; }

bool IsTransparent(QRgb pixel, const ColourRange& range) {
  return InRange(qRed(pixel), range.lowest.red(), range.highest.red()) &&
         InRange(qGreen(pixel), range.lowest.green(), range.highest.green()) &&
         InRange(qBlue(pixel), range.lowest.blue(), range.highest.blue());
}

void FlushRuns(std::vector<QRect>& runs, QRegion& outline) {
  if (runs.empty()) return;
  QRegion part;
  part.setRects(runs.data(), static_cast<int>(runs.size()));
  outline += part;
  runs.clear();
}

}  // namespace

QRegion OutlineFromPicture(const QImage& picture, const ColourRange& transparent) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  QRegion outline;
  std::vector<QRect> runs;
  runs.reserve(kRectsPerRegion);
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int x = 0;
    while (x < image.width()) {
      while (x < image.width() && IsTransparent(row[x], transparent)) ++x;
      const int start = x;
      while (x < image.width() && !IsTransparent(row[x], transparent)) ++x;
      if (x > start) runs.emplace_back(start, y, x - start, 1);
      if (runs.size() == kRectsPerRegion) FlushRuns(runs, outline);
    }
  }
  FlushRuns(runs, outline);
  return outline;
}

}  // namespace mvk
