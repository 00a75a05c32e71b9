// The shell's image lists made ahead of their first use. Making them is the slowest part of a
// list's first paint (the shell loads its default file icon in every size it keeps); a program
// that is going to show a file list starts it on a thread of its own before it builds its
// window. A list made meanwhile lays its rows out with a stand-in of the same size (Placeholder)
// and waits for what is left of the work only when it first paints.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

namespace shell_image_warm_up {

// Starts the thread (once a process; later calls do nothing). `then`, if given, runs on the
// thread once the image lists are made: a program adds its own pictures to them there.
void Start(std::function<void()> then = {});
// Returns once the thread, if one was started, has finished.
void Wait();
// Whether a thread was started and is still making the lists (asking for them now would wait).
bool Pending();
// Tests may have Pending answer true (1) or false (0) whatever the thread does; -1 undoes it.
void OverridePending(int value);
// An empty image list of the size the shell's list of that size has: a list view lays its rows
// out with it while the shell's own lists are still being made, and takes the shell's when it
// first paints. One of each size per process, owned here.
HIMAGELIST Placeholder(bool large);
// Tests may put stand-ins of another size in place (a shell with an icon size of its own);
// nullptr gives the own ones back.
void OverridePlaceholders(HIMAGELIST large, HIMAGELIST small);
// The shell's system image list of one size, asked for without naming a file or folder. (An
// empty path would name the current folder, which the shell parses and looks into: under
// Wine that costs some 30 ms per call in a folder of 20,000 files.)
HIMAGELIST SystemImages(bool large);

}  // namespace shell_image_warm_up
