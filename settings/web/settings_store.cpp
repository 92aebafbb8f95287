// Placeholder store: the defaults.
#include "settings/saver_settings.h"

SaverSettings saverSettings = {kDefaultNoteCount, kDefaultViewAngle, kDefaultCurrency};

void loadSettings() {
    saverSettings = SaverSettings{kDefaultNoteCount, kDefaultViewAngle, kDefaultCurrency};
}

bool saveSettings() {
    return true;
}
