#pragma once
// The image on display and the file name shared by the file flows: one
// instance for the whole program.

#include <cstdint>

#include "colour/dib_block.h"

constexpr int kFileNameSize = 256;

struct ImageState {
  DibBlock dib;               // the picture on display (packed DIB)
  uint16_t bitsOffset = 0;    // offset of the pixel rows in dib
  bool imagePresent = false;  // dib holds a displayable image
  int32_t width = 0;          // image size recorded when the window was fitted
  int32_t height = 0;
  char fileName[kFileNameSize] = {};  // the current file name, shared with the file dialogs
};

extern ImageState g_image;
