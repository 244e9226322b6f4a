// The images of the watches we ship and of the dashboard icon. Each function
// writes its PNG files and returns false when one cannot be written.
#pragma once

#include <string>

#include "lettering.h"

bool drawClassic(const std::string& folder, const Lettering& label);
bool drawPilot(const std::string& folder, const Lettering& label);
bool drawTraveller(const std::string& folder, const Lettering& label);
bool drawDashboardIcon(const std::string& path);
