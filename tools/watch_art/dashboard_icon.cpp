// The dashboard icon: a little Classic on its strap, its hands at 10:08:37.
#include "watches.h"

#include "materials.h"

namespace {

// Clock angles of 10:08:37, the hands' most flattering pose.
constexpr float hourAngle = (10 * 3600 + 8 * 60 + 37) * 2 * pi / 43200;
constexpr float minuteAngle = (8 * 60 + 37) * 2 * pi / 3600;
constexpr float secondAngle = 37 * 2 * pi / 60;

}  // namespace

bool drawDashboardIcon(const std::string& path) {
  Raster icon(256, 256);
  Vec2 c = icon.centre();

  Paint leather = linear(c - Vec2{60, 0}, c + Vec2{60, 0}, rgb(0x4A3426), rgb(0x2A1D15));
  for (float side : {-1.0f, 1.0f}) {
    Shape strap = rounded(polygon({c + Vec2{-40, 60 * side}, c + Vec2{40, 60 * side},
                                   c + Vec2{34, 124 * side}, c + Vec2{-34, 124 * side}}),
                          4);
    icon.shadow(strap, 6, 0.5f);
    icon.fill(strap, leather);
  }

  Shape crown = rounded(box(c + Vec2{88, 0}, {6, 11}), 3);
  Shape caseBody = disc(c, 84);
  icon.shadow(unite(caseBody, crown), 8, 0.6f);
  icon.fill(crown, steel(c, 84));
  icon.fill(caseBody, steel(c, 84));
  icon.fill(disc(c, 76), steel(c, 76, shadedSteel, brightSteel));
  icon.fill(disc(c, 72), sunburst(c, 72));

  Paint markers = solid(brightSteel);
  for (int hour = 0; hour < 12; ++hour)
    icon.fill(rounded(spoke(c, hour % 3 ? 56 : 50, 66, hour % 3 ? 1.6f : 2.6f, hour * pi / 6), 0.5f),
              markers);

  auto hand = [&](Shape shape, Colour colour) {
    icon.shadow(shape, 4, 0.6f);
    icon.fill(shape, solid(colour));
  };
  hand(capsule(c - clockDirection(hourAngle) * 8, c + clockDirection(hourAngle) * 38, 4.5f), brightSteel);
  hand(capsule(c - clockDirection(minuteAngle) * 10, c + clockDirection(minuteAngle) * 60, 3.2f),
       brightSteel);
  Colour red = rgb(0xD9432F);
  hand(unite(capsule(c - clockDirection(secondAngle) * 16, c + clockDirection(secondAngle) * 64, 1.3f),
             disc(c, 5.5f)),
       red);
  icon.fill(disc(c, 2), steel(c, 2));
  return icon.writePng(path);
}
