#pragma once
// Enlarged views of small pictures, for judging them by eye.

#include "picture/Image.h"

// Each pixel becomes a factor x factor block, so small pictures can be judged by eye.
Image Enlarge(const Image& image, int factor);

// Transparent pixels show a grey checkerboard instead, the usual way to see
// which parts of a picture are see-through.
Image OnCheckerboard(const Image& image, int square);
