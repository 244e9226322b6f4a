// "Traveller": a slate dial in a brushed steel case for people on the move.
// Two battery gauges run along the rim, the left controller's on the left and
// the right one's on the right, each with its charge printed inside; an
// orange arrow hand and a window at six tell the time in Tokyo.
#include "watches.h"

#include <cmath>

#include "materials.h"
#include "watch_images.h"

namespace {

const Colour slate = rgb(0x2E3A40), deepSlate = rgb(0x11171A), print = rgb(0xE8ECEE),
             faintPrint = rgb(0x9AA8AE), travelOrange = rgb(0xF08A24), empty = rgb(0xD9432F),
             full = rgb(0x4CC15A);

// Gauge arcs in clock radians: the left one from seven (empty) up to eleven
// (full), the right one from five up to one. The configs say the same in
// degrees: arc=-150,-30 and arc=150,30.
constexpr float gaugeSpan = 2 * pi / 3;

// A band along the rim from clock angle `from`, `span` radians clockwise,
// turning from the colour of an empty battery to that of a full one.
void drawGauge(Raster& dial, Vec2 c, float from, float span) {
  const int steps = 120;
  for (int i = 0; i < steps; ++i) {
    float t = (i + 0.5f) / steps;
    float angle = from + span * t;
    dial.fill(spoke(c, 101, 109, 1.9f, angle), solid(mix(empty, full, t)));
  }
  for (float t : {0.0f, 0.5f, 1.0f})
    dial.fill(spoke(c, 97, 112, 0.9f, from + span * t), solid(print));
}

bool drawDial(const std::string& path, const Lettering& label) {
  Raster dial = makeSteelCasedFace();
  Vec2 c = dial.centre();
  dial.fill(disc(c, 115), radial(c, 115, slate, deepSlate));

  drawGauge(dial, c, -150 * pi / 180, gaugeSpan);
  drawGauge(dial, c, 150 * pi / 180, -gaugeSpan);

  // Hour marks where the gauges leave room: twelve, six and the four beside them.
  for (int hour : {11, 12, 1, 5, 6, 7}) {
    Shape mark = rounded(spoke(c, 90, 108, hour % 6 == 0 ? 2.6f : 1.6f, hour * pi / 6), 0.8f);
    dial.shadow(mark, 3, 0.6f);
    dial.fill(mark, solid(print));
  }
  for (int hour : {2, 4, 8, 10}) dial.fill(disc(c + clockDirection(hour * pi / 6) * 92, 2.2f), solid(print));

  label.draw(dial, "L", c + Vec2{-73, -15}, 9, faintPrint);
  label.draw(dial, "R", c + Vec2{73, -15}, 9, faintPrint);
  label.draw(dial, "HORLOX", c - Vec2{0, 48}, 10, print, 2);
  label.draw(dial, "TRAVELLER", c - Vec2{0, 34}, 6, faintPrint, 1.2f);

  // The second zone's window; the watch prints Tokyo's time into it.
  Vec2 window = c + Vec2{0, 58};
  dial.fill(rounded(box(window, {22, 9}), 2), steel(window, 22));
  dial.fill(rounded(box(window, {20.5f, 7.5f}), 1.5f), solid(rgb(0x07090A)));
  label.draw(dial, "TOKYO", window + Vec2{0, -16}, 6, travelOrange, 1.2f);
  return dial.writePng(path);
}

// A round-ended baton with a white filling.
bool drawBaton(const std::string& path, int reach, float halfWidth) {
  const int tail = 14;
  HandImage hand(reach, tail, 6);
  Raster& image = hand.raster();
  Shape bar = capsule(hand.at(0, -tail + halfWidth), hand.at(0, reach - halfWidth), halfWidth);
  Shape hub = disc(hand.at(0, 0), 5.5f);

  image.shadow(unite(bar, hub), 5, 0.6f);
  image.fill(unite(bar, hub), steel(hand.at(0, 0), float(reach)));
  image.fill(rounded(capsule(hand.at(0, 14), hand.at(0, reach - halfWidth), halfWidth), -1.3f), solid(print));
  return hand.save(path);
}

// The second zone's hour hand: a thin orange stem with an arrow head.
bool drawTravelHand(const std::string& path) {
  const int reach = 84;
  HandImage hand(reach, 0, 6);
  Raster& image = hand.raster();
  Shape arrow = unite(capsule(hand.at(0, 0), hand.at(0, reach - 10), 1.1f),
                      polygon({hand.at(0, reach), hand.at(5.5f, reach - 13), hand.at(-5.5f, reach - 13)}));

  image.shadow(arrow, 4, 0.5f);
  image.fill(arrow, solid(travelOrange));
  return hand.save(path);
}

// A gauge's pointer: a small white wedge on the rim, pointing outwards,
// turned about the dial's centre like every hand.
bool drawGaugePointer(const std::string& path) {
  const int reach = 112;
  HandImage hand(reach, 0, 6);
  Raster& image = hand.raster();
  Shape wedge = polygon({hand.at(0, reach - 1), hand.at(6, 92), hand.at(-6, 92)});

  image.shadow(wedge, 3, 0.8f);
  image.fill(wedge, solid(print));
  return hand.save(path);
}

// A slim white seconds hand with an orange tip.
bool drawSeconds(const std::string& path) {
  const int reach = 100, tail = 24;
  HandImage hand(reach, tail, 5);
  Raster& image = hand.raster();
  Shape needle = unite(capsule(hand.at(0, -tail + 3), hand.at(0, reach), 0.8f), disc(hand.at(0, 0), 3.8f));

  image.shadow(needle, 4, 0.5f);
  image.fill(needle, solid(print));
  image.fill(capsule(hand.at(0, reach - 14), hand.at(0, reach), 0.8f), solid(travelOrange));
  image.fill(disc(hand.at(0, 0), 1.5f), steel(hand.at(0, 0), 1.5f));
  return hand.save(path);
}

}  // namespace

bool drawTraveller(const std::string& folder, const Lettering& label) {
  return drawDial(folder + "/dial.png", label) && drawGaugePointer(folder + "/gauge.png") &&
         drawTravelHand(folder + "/travel.png") && drawBaton(folder + "/hour.png", 60, 4.5f) &&
         drawBaton(folder + "/minute.png", 92, 3.5f) && drawSeconds(folder + "/second.png");
}
