// The sample album a new user sees at the first start.
#pragma once

#include <string>

// Creates the album `baseName` in `directory` (replacing one of that name) and fills it
// with the generated sample pictures, their memos, categories and marks.
void createSampleAlbum(const std::string& directory, const std::string& baseName);
