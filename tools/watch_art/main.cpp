// watch_art draws the images of the watches we ship, and the dashboard icon,
// into the assets folder given on its command line. Its output depends only
// on this code and the label font, so the committed PNGs can be redrawn at
// will; it prints each hand's pivot as its config's "center" wants it.
#include <cstdio>

#include "watches.h"

namespace {
const char* const labelFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: watch_art <assets folder>\n");
    return 2;
  }
  const std::string assets = argv[1];

  Lettering label;
  if (!label.load(labelFont)) {
    std::fprintf(stderr, "Cannot read the label font %s (Debian package fonts-dejavu-core).\n", labelFont);
    return 1;
  }
  if (!drawClassic(assets + "/watches/Classic", label) || !drawPilot(assets + "/watches/Pilot", label) ||
      !drawTraveller(assets + "/watches/Traveller", label) ||
      !drawDashboardIcon(assets + "/dashboard_overlay.png")) {
    std::fprintf(stderr, "Cannot write the images into %s.\n", assets.c_str());
    return 1;
  }
  return 0;
}
