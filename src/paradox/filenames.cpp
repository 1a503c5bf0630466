#include "paradox/filenames.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace paradox {

namespace {

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

} // namespace

std::vector<std::filesystem::path> namesakes(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::vector<std::filesystem::path> found;
    std::error_code error;
    // An unreadable folder holds no namesake this program could use.
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_directory(typeError) && sameIgnoringCase(it->path().filename().string(), name))
            found.push_back(path.parent_path() / it->path().filename());
    }
    std::ranges::sort(found,
                      [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
    return found;
}

std::filesystem::path onDisk(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return path;
    const auto found = namesakes(path);
    return found.empty() ? path : found.front();
}

std::filesystem::path companionBlobName(const std::filesystem::path& dbPath)
{
    std::string extension = dbPath.extension().string();
    if (extension.size() == 3 && asciiLower(extension[1]) == 'd' && asciiLower(extension[2]) == 'b')
        extension[1] = extension[1] == 'D' ? 'M' : 'm';
    else
        extension = ".mb";
    std::filesystem::path blobs = dbPath;
    return blobs.replace_extension(extension);
}

} // namespace paradox
