// The background of a skin section in the normal or hot state: its colour, gradient, texture
// or JPEG pattern, mixed with each other by the section's shares, and mixed with what lies
// under the element by its transparency. Borders and corner pictures are painted afterwards.
// Plain C++.
#pragma once

#include <string_view>

#include "framework/Geometry.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"
#include "skin/LoadedSkin.h"

// Paints section `sectionIndex` (named `sectionName`) into rect of `target`. `background` is what
// lies under the element, `offset` the element's position inside its bitmap: the background's
// pixel (background.X + offset.x, background.Y + offset.y) goes to rect's top-left corner.
// `customColor` other than clFuchsia replaces the section's look with that plain colour.
// `hotTexture` and `texture` are texture items already looked up, or -1 to look them up
// ("HOTPATTERN" and "PATTERN"). `state` 0 is normal, any other value hot.
void PaintSectionBackground(const LoadedSkin& skin, int sectionIndex, std::string_view sectionName,
                            const TsBackgroundRef& background, TColor customColor, int hotTexture, int texture,
                            Bitmap& target, Point offset, const Rect& rect, int state);
