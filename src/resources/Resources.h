#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_PROGRAM 1
#define IDB_OPEN 101
#define IDB_SAVE 102
