// The settings dialog's rules for the page, which draws the dialog itself (host/web/page.js, on the
// face that host/web/dialog_face.cpp decodes): its controls' places, what a click on a control
// does, the slider's scroll rules, and OK's save. The dialog edits a copy of the running settings,
// so the scene goes on with its own until the page builds it again with the stored ones.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "settings/config_dialog_rules.h"
#include "settings/note_count_scroll.h"
#include "settings/saver_settings.h"

static struct {
    SaverSettings shown;         // what the open dialog shows
    std::vector<int32_t> boxes;  // the control count, then id, left, top, width, height of each
    int32_t opened[3];           // what skyfoldDialogOpen hands the page
} gDialog;

static const int kBoxFields = 5;

enum DialogReply { kKeepOpen = 0, kSavedAndClose = 1, kClose = 2, kSaveFailedAndClose = 3 };

// OK saves the dialog's values; the scene's stay as they are until it is built again.
static bool saveShown() {
    const SaverSettings running = saverSettings;
    saverSettings = gDialog.shown;
    const bool saved = saveSettings();
    saverSettings = running;
    return saved;
}

extern "C" {

EMSCRIPTEN_KEEPALIVE const int32_t* skyfoldDialogBoxes() {
    if (gDialog.boxes.empty()) {
        gDialog.boxes.push_back(kDialogControlCount);
        for (int i = 0; i < kDialogControlCount; ++i) {
            const FaceBox box = faceBoxOf(kDialogControls[i]);
            const int32_t fields[kBoxFields] = {kDialogControls[i].id, box.left, box.top,
                                                box.width, box.height};
            gDialog.boxes.insert(gDialog.boxes.end(), fields, fields + kBoxFields);
        }
    }
    return gDialog.boxes.data();
}

// Opens the dialog on the running settings: what the page shows is what OK keeps. Returns the
// note count, the currency's button and the view angle's (kNoButton for a value outside its group).
EMSCRIPTEN_KEEPALIVE const int32_t* skyfoldDialogOpen() {
    gDialog.shown = saverSettings;
    gDialog.opened[0] = gDialog.shown.noteCount;
    gDialog.opened[1] = currencyButtonOf(gDialog.shown.currencyType);
    gDialog.opened[2] = viewAngleButtonOf(gDialog.shown.viewAngle);
    return gDialog.opened;
}

// A click on a control (ids of config_dialog_rules.h); OK saves and closes, Cancel closes.
EMSCRIPTEN_KEEPALIVE int skyfoldDialogCommand(int id) {
    switch (applyDialogCommand(id, gDialog.shown)) {
        case DialogOutcome::SaveAndClose: return saveShown() ? kSavedAndClose : kSaveFailedAndClose;
        case DialogOutcome::Close: return kClose;
        default: return kKeepOpen;
    }
}

// One scroll request of the note-count slider (note_count_scroll.h's codes); returns the count,
// where the thumb goes unless the request leaves it where the pointer holds it.
EMSCRIPTEN_KEEPALIVE int32_t skyfoldDialogScroll(int request, int thumbPosition) {
    const ScrollOutcome outcome =
        handleNoteCountScroll(gDialog.shown.noteCount, kFewestNotes, kMostNotes, request,
                              static_cast<uint16_t>(thumbPosition));
    gDialog.shown.noteCount = outcome.value;
    return outcome.value;
}

}  // extern "C"
