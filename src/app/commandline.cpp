#include "app/commandline.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

// Options the toolkit reads itself, each followed by its value.
constexpr std::array<std::string_view, 3> toolkitOptions{"-platform", "-display", "-style"};

CommandLine refuse(std::string complaint)
{
    return {CommandLine::Action::Refuse, {}, std::move(complaint)};
}

bool namesAlbumFile(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mb" && path.stem() != "";
}

// The album named on the command line, checked enough to say plainly what is wrong with it;
// opening it then reports what the check cannot see (a missing table, a damaged file).
CommandLine chooseAlbum(const std::string& argument)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path path = fs::absolute(fs::path(argument), error);
    if (error)
        return refuse("'" + argument + "' is not a usable path: " + error.message());
    if (!namesAlbumFile(path))
        return refuse("'" + argument + "' does not name an album: give the album's .mb file");
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status))
        return refuse("there is no album '" + argument + "'");
    if (!fs::is_regular_file(status))
        return refuse("'" + argument + "' is not a file");
    return {CommandLine::Action::Start, path.lexically_normal().string(), {}};
}

} // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments)
{
    std::vector<std::string> albums;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument.front() != '-' || argument == "-") {
            albums.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return {CommandLine::Action::ShowHelp, {}, {}};
        } else if (argument == "--version") {
            return {CommandLine::Action::ShowVersion, {}, {}};
        } else if (std::find(toolkitOptions.begin(), toolkitOptions.end(), argument) != toolkitOptions.end()) {
            if (++i == arguments.size())
                return refuse("the option '" + argument + "' needs a value");
        } else {
            return refuse("unknown option '" + argument + "'");
        }
    }
    if (albums.size() > 1)
        return refuse("name one album at most; " + std::to_string(albums.size()) + " were given");
    if (albums.empty())
        return {};
    return chooseAlbum(albums.front());
}

std::string commandLineHelp()
{
    return "Usage: kadrix [OPTION] [ALBUM.mb]\n"
           "A desktop picture album.\n"
           "\n"
           "  ALBUM.mb    open this album (its picture file) instead of the one opened last;\n"
           "              a protected album asks for its password\n"
           "  --help      show this help and exit\n"
           "  --version   show the version and exit\n"
           "\n"
           "The settings are kept in $XDG_CONFIG_HOME/kadrix (~/.config/kadrix); run\n"
           "kadrix-setup once to create them, or start Kadrix through kadrix-launch.\n";
}

std::string versionText()
{
    return "Kadrix " KADRIX_VERSION "\n";
}
