// What the scene imports from the host that runs it. Each platform's host implements these; the
// scene never includes a host header.
#pragma once

// True when the run draws in a preview window, which shows no banner. Fixed before the scene is
// created.
bool hostIsPreview();
