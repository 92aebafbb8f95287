// The settings dialog's face for the page: picture 132, decoded once by the scene's bitmap decoder
// into RGBA texels that page.js paints under the dialog's controls.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "resources/resource_ids.h"
#include "scene/rle8_bitmap.h"
#include "scene/scene_platform.h"
#include "settings/config_dialog_rules.h"

static struct {
    std::vector<uint8_t> face;  // RGBA, top row first; decoded when first asked for
} gFace;

static const int kTexelBytes = 4;

extern "C" {

// The face picture: kDialogWidthPixels x kDialogHeightPixels RGBA texels. A damaged picture
// decodes clear, and the dialog still works.
EMSCRIPTEN_KEEPALIVE const uint8_t* skyfoldDialogFace() {
    if (gFace.face.empty()) {
        size_t bytes = 0;
        const uint8_t* picture = sceneBitmapResource(kDialogFaceBitmapId, &bytes);
        gFace.face.resize(static_cast<size_t>(kDialogWidthPixels) * kDialogHeightPixels *
                          kTexelBytes);
        decodePackedBitmap(picture, bytes, kDialogWidthPixels, kDialogHeightPixels, false,
                           gFace.face.data());
    }
    return gFace.face.data();
}

}  // extern "C"
