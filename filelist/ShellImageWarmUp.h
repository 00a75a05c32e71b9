// The shell's image lists made ahead of their first use. Making them is the slowest part of a
// list's first paint (the shell loads its default file icon in every size it keeps); a program
// that is going to show a file list starts it on a thread of its own before it builds its
// window, and the first list that asks for the image lists waits for what is left.
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
// The shell's system image list of one size, asked for without naming a file or folder. (An
// empty path would name the current folder, which the shell parses and looks into: under
// Wine that costs some 30 ms per call in a folder of 20,000 files.)
HIMAGELIST SystemImages(bool large);

}  // namespace shell_image_warm_up
