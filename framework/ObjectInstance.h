// Per-object window procedures: a small piece of executable code for one object that calls a
// static function with the object in place of the window handle. Chaining window procedures
// with SetWindowLongPtr needs one distinct entry point per hooked window; the object then keeps
// the window handle itself. Each instance lives until it is released.
#pragma once

#include <windows.h>

// Signature of the function an instance calls: the object comes first, as the window would.
using ObjectWindowProc = LRESULT(CALLBACK*)(void* object, UINT msg, WPARAM wParam, LPARAM lParam);

class ObjectInstance {
 public:
  ObjectInstance(void* object, ObjectWindowProc proc);
  ObjectInstance(const ObjectInstance&) = delete;
  ObjectInstance& operator=(const ObjectInstance&) = delete;
  ~ObjectInstance();
  // The entry point to install as a window procedure.
  WNDPROC Procedure() const { return reinterpret_cast<WNDPROC>(code_); }

 private:
  void* code_;  // owned: a slot of executable memory
};
