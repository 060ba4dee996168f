#pragma once
// Complementing the colours of the picture on display (command 112).

#include "colour/dib_block.h"

class CommandHost;

enum class InversionResult {
  Unchanged,           // more than 256 colours declared, or no header
  ColourTableChanged,  // the display palette must be made again
  PixelsChanged,       // an image without colour table: its bytes were complemented
};

// A packed DIB with 1 to 256 colours gets the blue, green and red bytes of its
// colour table complemented; one without a colour table gets its pixel bytes
// (as many as the header's image-size field gives, within the block)
// complemented instead.
InversionResult InvertDibColours(DibBlock& dib);

// Command 112: only while an image is present; a changed colour table is
// shown at once, changed pixel bytes with the next paint.
void InvertImageColours(CommandHost& host);
