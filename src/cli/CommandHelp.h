#pragma once
// What valtea-map says about its commands: for each its usage line, what it
// does and an example that works on the sample map (Shift-JIS). `--help`
// prints them all, `help CMD` and `CMD --help` one, and a command given the
// wrong number of arguments its usage line.

#include <string>
#include <string_view>

struct CommandHelp {
  std::string_view name;
  std::string_view usage;    // "valtea-map get MAP CELL"
  std::string_view text;     // lines of what it does, each ending in "\n"
  std::string_view example;  // "valtea-map get MAPDATA.VLT 5:10"
};

// The command of that name, or null.
const CommandHelp* HelpOf(std::string_view name);

// Every command, then what holds for all of them.
std::string WholeHelp();
// One command: its usage, what it does, its example.
std::string HelpText(const CommandHelp& command);
