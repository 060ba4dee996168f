#include "files/image_state.h"

ImageState g_image;
