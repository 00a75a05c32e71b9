// The process-wide flag of a running window animation. While it is set, skinned windows leave
// the screen alone in their paint messages (what they would paint lies under the animation,
// and the animated window is redrawn completely when it ends); printing into a picture
// (WM_PRINT, WM_PRINTCLIENT) still works, since the animation itself composes the window that
// way. Set and cleared by the animation code of the frame layer.
#pragma once

namespace window_animation {

bool Animating();
void SetAnimating(bool animating);

}  // namespace window_animation
