// Copying an album's three tables into another folder under the same base name, all or
// nothing: the tables are copied into staged tables beside the destination and put in place
// only when all three copies succeeded, so a failed copy leaves the destination as it was.
#pragma once

#include <functional>
#include <string>

#include "data/schema.h"

class Tdb;

// Whether two folder paths name one folder (trailing separators, links and "." parts aside).
// A folder that does not exist is the same as nothing.
bool sameFolder(const std::string& first, const std::string& second);

// Copies the album `source` into `destinationDirectory` through the data module's copy handles
// and batch copy, replacing an album of that name there without asking. Uses its own handles on
// the source, so it may run on a worker thread while nothing else uses copy1..copy3 and
// BatchMove1. `progress` gets the percentage done and may stop the copy by returning false.
// Afterwards copy1..copy3 address the copied album. Refuses a destination that is the source's
// folder. On any failure the staged tables are removed and the error is passed on.
void copyAlbum(Tdb& db, const schema::AlbumLocation& source, const std::string& destinationDirectory,
               const std::function<bool(int percent)>& progress);

// The base name under which copyAlbum stages the copies of the album `baseName`.
std::string stagedBaseName(const std::string& baseName);
