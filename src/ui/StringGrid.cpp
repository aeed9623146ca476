#include "ui/StringGrid.h"
