// The three user settings of the saver and the store that keeps them per user.
#pragma once

#include <cstdint>

enum ViewAngleMode : int32_t { BottomUp = 0, FrontOn = 1, TopDown = 2, Random = 3 };
enum CurrencyType : int32_t { AustralianDollars = 0, AmericanDollars = 1, Euros = 2 };

struct SaverSettings {
    int32_t noteCount;     // notes drawn; 75 to 1500 from the dialog
    int32_t viewAngle;     // a ViewAngleMode, kept as stored (not range-checked)
    int32_t currencyType;  // a CurrencyType, kept as stored (not range-checked)
};

extern SaverSettings saverSettings;

// How each setting is stored on every platform: its value name (in the registry, and in the
// settings file on X11) and its default when missing.
const char kNoteCountName[] = "Number of Notes";
const char kViewAngleName[] = "View Angle";
const char kCurrencyName[] = "Type of Currency";
const int32_t kDefaultNoteCount = 200;
const int32_t kDefaultViewAngle = Random;
const int32_t kDefaultCurrency = AustralianDollars;

// Fills all three fields from the store; a missing key or value gives that field's default.
void loadSettings();

// Writes all three fields; false (after telling the user) when the key cannot be created.
bool saveSettings();
