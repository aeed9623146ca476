#include "ui/GridNavigation.h"
