// Display lists 1 to 10: for each denomination of the chosen currency, two lists drawing the same
// curved double-sided note, the second with its two pictures swapped.
#pragma once

#include <cstdint>

// Compiles lists firstList and secondList for a note of widthUnits x heightUnits whose faces show
// the textures of slots firstSlot and secondSlot.
void buildNoteListPair(unsigned int firstList, unsigned int secondList, float widthUnits,
                       float heightUnits, int firstSlot, int secondSlot);

// Lists 1 to 10 for currency 0, 1 or 2; nothing for any other value.
void buildNoteLists(int32_t currencyType);
