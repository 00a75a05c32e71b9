// The skin command message through which the skin manager and the skinned elements talk: one
// window message whose first parameter carries a command code in its high 16 bits and a small
// argument in its low 16 bits. Plain C++.
#pragma once

#include <cstdint>

constexpr unsigned SM_LACQUERCMD = 0xA100;

enum TsSkinCommand : uint16_t {
  scSkinApplied = 1,               // a new skin is in force (parameter: the manager)
  scSkinRemoved = 2,               // the skin is removed (parameter: the manager)
  scRefresh = 3,                   // caches are invalid, repaint (parameter: the manager)
  scPaintFinished = 6,             // the parent has painted: a postponed paint may run now
  scIsSkinAware = 7,               // question: skin-aware windows answer 1
  scSetUpdating = 8,               // update state := (argument = 1)
  scSetPaintSuspended = 9,         // painting-suspended flag := (argument = 1)
  scIsRebuildingCache = 10,        // question: is the cached background being rebuilt?
  scIsCachePartial = 11,           // question: is the cache only partly painted?
  scParentBackgroundChanged = 12,  // argument 1: the parent's background changed
  scRepaintIfAnimated = 13,        // repaint when your section is the one being animated
  scBeforeRefresh = 16,            // sent before a refresh
  scInvalidateCache = 17,          // invalidate your cached background
  scApplicationActivated = 18,     // the application was activated
  scNeedsParentBackground = 19,    // question: does the receiver need its parent's background?
  scMovedOrResized = 20,           // the receiver or its parent moved (argument 1: redraw now)
  scGetBackgroundColor = 21,       // question: the receiver's background colour
  scMarkCachePartial = 22,         // mark the cache as partly painted
  scGetSectionIndex = 26,          // question: section index + 1 (0: none)
  scBecameHotWindow = 29,          // the receiver became the manager's active window
  scLeftHotWindow = 30,            // the receiver stopped being the manager's active window
  scEnteredUpdate = 31,            // the receiver's skin state entered its update state
  scLeftUpdate = 32,               // the receiver's skin state left its update state
  scFillBackgroundInfo = 34,       // fill the background record at the second parameter
  scTransparencyFlags = 36,        // argument 1: recompute transparency flags; else answer them
  scSuspendPainting = 51,          // a scroll request follows; answer 1 to take the thumb position in it
  scResumePainting = 52,           // the scroll request is done
  scGetApplication = 60,           // answer the application object
};

// The first parameter of a skin command.
constexpr uint64_t SkinCommandParam(uint16_t command, uint16_t argument = 0) {
  return (static_cast<uint64_t>(command) << 16) | argument;
}
constexpr uint16_t SkinCommandOf(uint64_t wParam) { return static_cast<uint16_t>((wParam >> 16) & 0xFFFF); }
constexpr uint16_t SkinCommandArgument(uint64_t wParam) { return static_cast<uint16_t>(wParam & 0xFFFF); }
