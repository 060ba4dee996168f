#pragma once
// PNG pictures: the picture in the DibBlock written as an 8-bit RGB PNG, for
// those who want the picture in a format every viewer reads.

#include <cstdint>
#include <vector>

#include "colour/dib_block.h"

// The pixels of dib as RGB triples, top line first: the DibBlock layout
// (40-byte header, colour table, rows bottom line first) with 1, 4 or 8 bits
// per pixel through the colour table, uncompressed. An index beyond the table
// gives black. False, and rgb untouched, for any other layout or a block too
// short for what its header says.
bool DibToRgb(const DibBlock& dib, int32_t* width, int32_t* height, std::vector<uint8_t>* rgb);

// Writes dib as a PNG file; an existing file is replaced only by a complete
// one. False when the picture cannot be converted or the file not written.
bool WritePngFile(const char* fileName, const DibBlock& dib);
