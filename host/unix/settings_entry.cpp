// Process entry of skyfold-settings, the settings dialog that skyfold --config runs. It is a
// program of its own so that the saver does not load the toolkit at every start. The dialog's face
// is one of the program's pictures, decoded here: the settings code does not decode pictures.
#include <cstdint>
#include <vector>

#include "host/unix/display_report.h"
#include "resources/resource_ids.h"
#include "scene/rle8_bitmap.h"
#include "scene/scene_platform.h"
#include "settings/config_dialog_rules.h"
#include "settings/unix/config_dialog.h"

static const int kNoDisplayExitCode = 1;
static const int kTexelBytes = 4;  // the decoded face is RGBA

int main() {
    if (!openConfigDialogDisplay()) {
        reportNoDialogDisplay();
        return kNoDisplayExitCode;
    }
    size_t bytes = 0;
    const uint8_t* picture = sceneBitmapResource(kDialogFaceBitmapId, &bytes);
    std::vector<uint8_t> rgba(static_cast<size_t>(kDialogWidthPixels) * kDialogHeightPixels *
                              kTexelBytes);
    // A damaged face decodes to a clear picture: the dialog still works, on the theme's grey.
    decodePackedBitmap(picture, bytes, kDialogWidthPixels, kDialogHeightPixels, false, rgba.data());
    return runConfigDialog({rgba.data(), kDialogWidthPixels, kDialogHeightPixels});
}
