#include "platform/files.h"

#include <cstdio>

bool remove_file(const std::string& path) { return std::remove(path.c_str()) == 0; }
