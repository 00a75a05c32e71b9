// The shell's image lists made ahead of their first use. Making them is the slowest part of a
// list's first paint (the shell loads its default file icon in every size it keeps); a program
// that is going to show a file list starts it on a thread of its own before it builds its
// window, and the first list that asks for the image lists waits for what is left.
#pragma once

namespace shell_image_warm_up {

// Starts the thread (once a process; later calls do nothing).
void Start();
// Returns once the thread, if one was started, has finished.
void Wait();

}  // namespace shell_image_warm_up
