// "Pilot": a flieger in a matte steel case with an onion crown, a black dial
// with big numerals, the triangle at twelve, a date at six and blued sword
// hands filled with lume. The case is its own face layer so that the crown
// can move to the wrist's other side while the numerals stay readable.
#include "watches.h"

#include <algorithm>
#include <cmath>

#include "materials.h"
#include "watch_images.h"

namespace {

const Colour matteLit = rgb(0xD9DDE2), matteShaded = rgb(0x737A84), lume = rgb(0xF1EEE4),
             blued = rgb(0x2C4A7E), deepBlued = rgb(0x16243F);

// A cylinder lying along x: bright along its middle, dark at top and bottom.
Paint cylinder(float middle, float halfHeight) {
  return [=](Vec2 p) {
    float t = (p.y - middle) / halfHeight;
    return mix(matteLit, rgb(0x4A5058), std::min(t * t, 1.0f));
  };
}

bool drawCase(const std::string& path) {
  Raster face = makeFace();
  Vec2 c = face.centre();

  // Four lugs, each a bar tapering away from the case.
  auto lug = [c](float right, float down) {
    Vec2 root = c + Vec2{56 * right, 96 * down}, end = c + Vec2{56 * right, 121 * down};
    return rounded(polygon({root - Vec2{5, 0}, root + Vec2{5, 0}, end + Vec2{3.5f, 0}, end - Vec2{3.5f, 0}}),
                   2.5f);
  };
  Shape lugs = unite(unite(lug(-1, -1), lug(1, -1)), unite(lug(-1, 1), lug(1, 1)));
  Vec2 crownMiddle = c + Vec2{120, 0};
  Shape stem = box(c + Vec2{112, 0}, {4, 4.5f});
  Shape crown = rounded(box(crownMiddle, {3.5f, 9}), 2.5f);
  Shape caseBody = disc(c, 114);

  face.shadow(unite(caseBody, unite(lugs, unite(stem, crown))), 6, 0.55f);
  face.fill(lugs, steel(c, 126, matteLit, matteShaded));
  face.fill(stem, cylinder(c.y, 4.5f));
  face.fill(crown, cylinder(c.y, 11.5f));
  for (float groove = -8; groove <= 8; groove += 2.7f)
    face.fill(capsule(crownMiddle + Vec2{-4, groove}, crownMiddle + Vec2{4, groove}, 0.35f),
              solid(rgb(0x30353C, 0.8f)));
  face.fill(caseBody, steel(c, 114, matteLit, matteShaded));
  face.fill(ring(c, 109.5f, 1.2f), solid(rgb(0xEEF1F4, 0.7f)));
  return face.writePng(path);
}

bool drawDial(const std::string& path, const Lettering& numerals) {
  Raster dial = makeFace();
  Vec2 c = dial.centre();

  dial.fill(disc(c, 107.5f), solid(rgb(0x26292E)));
  dial.fill(disc(c, 106), radial(c, 106, rgb(0x1C1E21), rgb(0x0B0C0D)));

  Paint luminous = solid(lume);
  for (int minute = 0; minute < 60; ++minute) {
    bool fiveMinutes = minute % 5 == 0;
    dial.fill(spoke(c, fiveMinutes ? 93 : 97, 103, fiveMinutes ? 1.2f : 0.6f, minute * pi / 30), luminous);
  }

  dial.fill(polygon({c - Vec2{0, 77}, c - Vec2{10, 97}, c - Vec2{-10, 97}}), luminous);
  dial.fill(disc(c - Vec2{15.5f, 96}, 2.6f), luminous);
  dial.fill(disc(c - Vec2{-15.5f, 96}, 2.6f), luminous);
  for (int hour = 1; hour < 12; ++hour)
    if (hour != 6)
      numerals.draw(dial, std::to_string(hour), c + clockDirection(hour * pi / 6) * 73, 27, lume);

  // The date window; the watch prints the day into it.
  Vec2 window = c + Vec2{0, 78};
  dial.fill(rounded(box(window, {11.5f, 8.5f}), 1.5f), luminous);
  dial.fill(rounded(box(window, {10.3f, 7.3f}), 1), solid(rgb(0x050506)));

  numerals.draw(dial, "HORLOX", c - Vec2{0, 44}, 10, rgb(0xC9CCD0), 2);
  return dial.writePng(path);
}

// A blued steel sword with a lume filling.
bool drawSword(const std::string& path, int reach, float halfWidth, float hubRadius) {
  const int tail = 12;
  HandImage hand(reach, tail, int(std::ceil(hubRadius)));
  Raster& image = hand.raster();
  Vec2 tip = hand.at(0, reach), end = hand.at(0, -tail);
  Shape blade = polygon({tip, hand.at(halfWidth, reach - 2.4f * halfWidth), hand.at(halfWidth * 0.8f, -tail),
                         hand.at(-halfWidth * 0.8f, -tail), hand.at(-halfWidth, reach - 2.4f * halfWidth)});
  Shape hub = disc(hand.at(0, 0), hubRadius);
  Paint bluedSteel = linear(tip, end, blued, deepBlued);

  image.shadow(unite(blade, hub), 5, 0.6f);
  image.fill(blade, bluedSteel);
  image.fill(subtract(rounded(blade, -1.4f), disc(hand.at(0, 0), hubRadius + 3)), solid(lume));
  image.fill(hub, bluedSteel);
  return hand.save(path);
}

// A thin white seconds hand with a round counterweight.
bool drawSeconds(const std::string& path) {
  const int reach = 102, tail = 26;
  HandImage hand(reach, tail, 5);
  Raster& image = hand.raster();
  Shape needle = unite(capsule(hand.at(0, -tail + 4), hand.at(0, reach), 0.8f),
                       unite(disc(hand.at(0, -tail + 8), 3.6f), disc(hand.at(0, 0), 4.2f)));

  image.shadow(needle, 4, 0.6f);
  image.fill(needle, solid(lume));
  image.fill(disc(hand.at(0, -tail + 8), 1.8f), solid(rgb(0x0B0C0D)));
  image.fill(disc(hand.at(0, 0), 1.6f), solid(deepBlued));
  return hand.save(path);
}

}  // namespace

bool drawPilot(const std::string& folder, const Lettering& numerals) {
  return drawCase(folder + "/case.png") && drawDial(folder + "/dial.png", numerals) &&
         drawSword(folder + "/hour.png", 60, 6, 7.5f) && drawSword(folder + "/minute.png", 96, 4.5f, 6.5f) &&
         drawSeconds(folder + "/second.png");
}
