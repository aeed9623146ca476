#include "ui/Win32FileSystem.h"
