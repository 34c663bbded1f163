#pragma once

namespace kestrova {

// Twips (1/1440 inch) per pixel from the primary screen's logical resolution: 15 at 96 dpi,
// and 15 when there is no screen at all.
double twipsPerPixelX();
double twipsPerPixelY();

}  // namespace kestrova
