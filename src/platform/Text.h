#pragma once
// The program's texts are Shift-JIS; Windows takes UTF-16. Converting with
// code page 932 explicitly shows them right on any system locale.

#include <string>
#include <string_view>

#include "map/PathText.h"

std::wstring Widen(std::string_view shiftJis);
// The same into a string that keeps its room: for the 26,576 texts of a map
// read. The system converts each character once; a table remembers it.
void WidenInto(std::string_view shiftJis, std::wstring& wide);
std::string Narrow(std::wstring_view text);  // characters outside code page 932 become '?'
std::wstring Widen(const PathText& text);     // with the paths in place of "%s"
std::wstring WideFromPath(const MapPath& path);
MapPath PathFromWide(std::wstring_view path);
