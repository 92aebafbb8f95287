// The platform-free part of the scene's creation, shared by both surfaces: once a platform has made
// its rendering context current and set the view's size, these steps run in this order.
#pragma once

// Seeds the random sequence with the calendar time, reads the settings, copies the host's preview
// flag, sets the render state and builds every texture and list, sets the projection and starts
// the frame clock.
void startScene();
