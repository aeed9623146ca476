// The one place that compiles stb_image's code, for tests that read PNG files.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"
