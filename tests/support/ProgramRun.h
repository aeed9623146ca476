#pragma once
// Runs a program of this build as a user would, with its standard output and
// error going to files, and tells what it printed and how it ended.

#include <string>
#include <vector>

#include "map/PathText.h"

struct ProgramRun {
  int status = -1;
  std::string out;  // the bytes as written
  std::string err;
};

ProgramRun RunProgram(const MapPath& program, const std::vector<MapPath>& arguments);
