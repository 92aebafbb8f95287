// A day of frames of the note field, the camera and the banner, simulated at one frame a second:
// nothing may become NaN or infinite, every note stays within the field, and the camera and the
// banner keep cycling.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/banner_motion.h"
#include "scene/note_motion.h"
#include "scene/pitch_director.h"
#include "scene/random_generator.h"
#include "settings/saver_settings.h"
#include "tests/native/scene_at_run_start.h"

static const double kDaySeconds = 24.0 * 60 * 60;
static const double kStepSeconds = 1.0;
// A note lives at most ~80 s and drifts at most 0.4 units a second from within 4.5 of the axis.
static const float kFieldHalfWidthUnits = 4.5f + 0.4f * 81.0f;

static bool finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

static bool withinField(const Note& note) {
    return finite(note.position) && finite(note.angles) &&
           std::fabs(note.position.x) <= kFieldHalfWidthUnits &&
           std::fabs(note.position.z) <= kFieldHalfWidthUnits &&
           note.position.y >= -15.0f - 2.24f * kStepSeconds && note.position.y <= 44.9f;
}

class Soak : public SceneAtRunStart {};

TEST_F(Soak, ADayOfFramesStaysFiniteBoundedAndKeepsCycling) {
    skyfold::srand(20261208);
    startInitialTransition(Random, 0.0f);
    startBanner(0.0f);
    int bannerEdgeChanges = 0, pitchMoves = 0;
    float lastBannerY = 5.0f, lastPitch = 0.0f;
    for (long frame = 1; frame * kStepSeconds <= kDaySeconds; ++frame) {
        const float now = static_cast<float>(frame * kStepSeconds);
        updatePitch(Random, now);
        bool fieldHolds = true;
        for (Note& note : notePool) {
            update(note, static_cast<float>(kStepSeconds));
            note.angles.z = swingDegrees(note.phase, now);
            fieldHolds = fieldHolds && withinField(note);
        }
        ASSERT_TRUE(fieldHolds) << "frame " << frame;
        const BannerPlacement banner = advanceBanner(now, 1920, 1080);
        ASSERT_TRUE(std::isfinite(banner.x) && std::isfinite(banner.y));
        if ((banner.y > 540.0f) != (lastBannerY > 540.0f)) ++bannerEdgeChanges;
        lastBannerY = banner.y;
        ASSERT_TRUE(std::isfinite(currentPitch));
        ASSERT_LE(std::fabs(currentPitch), 90.0f);
        if (currentPitch != lastPitch) ++pitchMoves;
        lastPitch = currentPitch;
    }
    // One appearance every 47 s; the banner crosses the middle line once per appearance.
    EXPECT_GT(bannerEdgeChanges, 1700);
    EXPECT_GT(pitchMoves, 1000);
}
