// Making a new, empty album: its three tables and its one settings record.
#pragma once

#include <string>

class TTable;

// Creates the picture, category and settings tables of album `name` in `location`, in that
// order, each replacing a table of that name. Tables created before a failure stay.
void createAlbumTables(const std::string& location, const std::string& name);

// Writes the settings values every new album starts with into the open, empty settings
// table, field by field, and stores the record.
void writeSettingsAtCreation(TTable& settings);
