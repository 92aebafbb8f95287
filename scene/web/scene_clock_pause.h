// Stopping the browser's frame clock while the page shows nothing (scene/web/clock_source.cpp).
#pragma once

void pauseSceneClock();
void resumeSceneClock();
