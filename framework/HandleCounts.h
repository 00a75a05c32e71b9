// Live platform objects made by this program, counted by the handle wrappers in builds that
// carry the tests and benchmarks (BRENVALE_COUNT_HANDLES). The platform's own per-process
// counts are not available everywhere (Wine answers 0), so a leak test compares these instead:
// every GDI object, device context, window, icon and menu that the program creates goes
// through a wrapper (Handles.h) or the framework's window (Control.cpp), which adds it here and
// takes it off when it is freed or handed to the platform for good.
#pragma once

namespace handle_counts {

enum class Kind { None, Gdi, User };

#ifdef BRENVALE_COUNT_HANDLES
inline constexpr bool kEnabled = true;
namespace detail {
inline long gdi = 0;
inline long user = 0;
}  // namespace detail
inline void Add(Kind kind, long delta) {
  if (kind == Kind::Gdi) detail::gdi += delta;
  else if (kind == Kind::User) detail::user += delta;
}
inline long Gdi() { return detail::gdi; }
inline long User() { return detail::user; }
#else
inline constexpr bool kEnabled = false;
inline void Add(Kind, long) {}
inline long Gdi() { return 0; }
inline long User() { return 0; }
#endif

}  // namespace handle_counts
