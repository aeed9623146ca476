#pragma once
// The About box: the program's name, version and author, shown modally.
