#include "About1.h"
