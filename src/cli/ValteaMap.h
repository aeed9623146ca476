#pragma once
// valtea-map, the command-line companion of the editor: reports on a map
// file, its picture, the difference of two files, the map as text and single
// edits, through the editor's own map layer.

#include <vector>

#include "cli/Console.h"
#include "map/FileSystem.h"

// Exit statuses.
constexpr int ExitSuccess = 0;
constexpr int ExitFindings = 1;  // diff found differences, check found problems
constexpr int ExitError = 2;     // bad arguments, unreadable file, bad text: nothing written

// arguments: everything after the program name.
int RunValteaMap(const std::vector<MapPath>& arguments, FileSystem& files, Console& console);
