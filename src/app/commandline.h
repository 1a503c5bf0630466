// The program's command line, read before anything needs a display:
//   kadrix [ALBUM.mb]    start, opening ALBUM instead of the remembered album
//   kadrix --help        what the program takes, then exit
//   kadrix --version     the program's version, then exit
// The toolkit's own display options (-platform NAME, -display NAME, -style NAME) pass through.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Start, ShowHelp, ShowVersion, Refuse };

    Action action = Action::Start;
    std::string album;     // absolute path of the album's picture file, or empty
    std::string complaint; // why the command line was refused
};

CommandLine readCommandLine(const std::vector<std::string>& arguments);

std::string commandLineHelp();
std::string versionText();
