// "Classic": a steel case around a navy sunburst dial with applied batons, a
// date window at three o'clock and faceted dauphine hands.
#include "watches.h"

#include <cmath>

#include "materials.h"
#include "watch_images.h"

namespace {

const Colour ink = rgb(0x0A0F16);

bool drawDial(const std::string& path, const Lettering& label) {
  Raster dial = makeSteelCasedFace();
  Vec2 c = dial.centre();
  dial.fill(disc(c, 115), sunburst(c, 115));

  Paint track = solid(rgb(0xB9C3D0, 0.85f));
  dial.fill(ring(c, 104, 0.8f), track);
  dial.fill(ring(c, 110.5f, 0.8f), track);
  for (int minute = 0; minute < 60; ++minute)
    dial.fill(spoke(c, 104, 110.5f, minute % 5 ? 0.45f : 0.9f, minute * pi / 30), track);

  Paint applied = linear(c - Vec2{0, 110}, c + Vec2{0, 110}, brightSteel, rgb(0xA9B3BF));
  auto baton = [&](Shape bar) {
    dial.shadow(bar, 3, 0.6f);
    dial.fill(bar, applied);
  };
  baton(rounded(box(c - Vec2{4.5f, 91}, {1.6f, 10}), 0.8f));
  baton(rounded(box(c - Vec2{-4.5f, 91}, {1.6f, 10}), 0.8f));
  for (int hour = 1; hour < 12; ++hour)
    if (hour != 3) baton(rounded(spoke(c, 81, 100, 1.8f, hour * pi / 6), 0.8f));

  // The date window; the watch prints the day into it.
  Vec2 window = c + Vec2{85, 0};
  baton(rounded(box(window, {11.5f, 8}), 1.5f));
  dial.fill(rounded(box(window, {10, 6.5f}), 1), solid(ink));

  label.draw(dial, "HORLOX", c - Vec2{0, 50}, 11, rgb(0xE4E9EF), 2.2f);
  label.draw(dial, "AUTOMATIC", c + Vec2{0, 52}, 7, rgb(0x9FAEC0), 1.2f);
  return dial.writePng(path);
}

// A dauphine hand: a long flat kite whose left half catches the light.
bool drawDauphine(const std::string& path, int reach, float halfWidth, float hubRadius) {
  const int tail = 14;
  HandImage hand(reach, tail, int(std::ceil(hubRadius)));
  Raster& image = hand.raster();
  Vec2 tip = hand.at(0, reach), waist = hand.at(0, -tail);
  Shape blade = polygon({tip, hand.at(halfWidth, 8), hand.at(halfWidth * 0.5f, -tail),
                         hand.at(-halfWidth * 0.5f, -tail), hand.at(-halfWidth, 8)});
  Shape litHalf = polygon({tip, waist, hand.at(-halfWidth * 0.5f, -tail), hand.at(-halfWidth, 8)});
  Shape hub = disc(hand.at(0, 0), hubRadius);

  image.shadow(unite(blade, hub), 5, 0.55f);
  image.fill(blade, linear(tip, waist, rgb(0xC3CAD3), shadedSteel));
  image.fill(litHalf, linear(tip, waist, brightSteel, rgb(0xD5DBE2)));
  image.fill(hub, steel(hand.at(0, 0), hubRadius));
  return hand.save(path);
}

// A slim red seconds hand with a counterweight and a capped hub.
bool drawSeconds(const std::string& path) {
  const int reach = 106, tail = 28;
  HandImage hand(reach, tail, 5);
  Raster& image = hand.raster();
  Paint red = solid(rgb(0xD9432F));
  Shape needle =
      unite(capsule(hand.at(0, -tail + 3), hand.at(0, reach), 0.9f),
            unite(capsule(hand.at(0, -tail + 3), hand.at(0, -12), 2.8f), disc(hand.at(0, 0), 4.6f)));

  image.shadow(needle, 4, 0.5f);
  image.fill(needle, red);
  image.fill(disc(hand.at(0, 0), 1.7f), steel(hand.at(0, 0), 1.7f));
  return hand.save(path);
}

}  // namespace

bool drawClassic(const std::string& folder, const Lettering& label) {
  return drawDial(folder + "/dial.png", label) && drawDauphine(folder + "/hour.png", 64, 6.5f, 7.5f) &&
         drawDauphine(folder + "/minute.png", 100, 5, 6.5f) && drawSeconds(folder + "/second.png");
}
