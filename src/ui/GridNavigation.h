#pragma once
// The grid view's rules for the current cell and the view position, free of
// any platform.
