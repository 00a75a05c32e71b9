// Where a hover glow window goes and which part of its picture shows, and the registry that
// hands out glow ids. Plain C++; GlowWindows puts the windows on the screen.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "framework/Geometry.h"

struct GlowPlacement {
  int FullWidth = 0;   // the whole glow picture
  int FullHeight = 0;
  Point Crop;          // the part shown starts here in the picture
  Rect Window;         // the window on the screen (its size is the part shown)
};

// `control`: the control on the screen; `visible`: its visible part in its own coordinates;
// `itemMargins`: the glow item's margins (left, top, right, bottom); `margin`: how far the glow
// is pulled in (the section's GLOWMARGIN).
GlowPlacement PlaceGlow(const Rect& control, const Rect& visible, const Rect& itemMargins, int margin);

// Objects by small integer id. A freed id is handed out again, so hovering a thousand times
// leaves the registry as large as the most glows shown at once.
template <class T>
class SlotRegistry {
 public:
  int Add(std::unique_ptr<T> item) {
    for (size_t i = 0; i < slots_.size(); ++i)
      if (!slots_[i]) {
        slots_[i] = std::move(item);
        return static_cast<int>(i);
      }
    slots_.push_back(std::move(item));
    return static_cast<int>(slots_.size() - 1);
  }
  T* Get(int id) const {
    return id >= 0 && static_cast<size_t>(id) < slots_.size() ? slots_[static_cast<size_t>(id)].get() : nullptr;
  }
  // Takes the object out; an id outside the registry or an empty slot gives nullptr.
  std::unique_ptr<T> Take(int id) {
    if (!Get(id)) return nullptr;
    return std::move(slots_[static_cast<size_t>(id)]);
  }
  std::vector<std::unique_ptr<T>> TakeAll() { return std::exchange(slots_, {}); }
  size_t SlotCount() const { return slots_.size(); }

 private:
  std::vector<std::unique_ptr<T>> slots_;
};
