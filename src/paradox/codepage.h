// Conversion between a table's code page and UTF-8, through iconv.
#pragma once

#include "paradox/field.h"

#include <filesystem>
#include <iconv.h>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace paradox {

inline constexpr int utf8CodePage = 65001;

class CodePage {
public:
    // file names the table in error messages. Throws Error for a code page iconv does not know.
    CodePage(int number, std::filesystem::path file);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int number() const { return number_; }

    // Text up to the first NUL, as UTF-8. Bytes the code page does not define become U+FFFD:
    // a reader shows what it can rather than refusing a whole record.
    std::string decode(std::span<const std::uint8_t> bytes) const;
    // The whole text in the code page; Error when the code page cannot hold a character.
    Bytes encode(std::string_view utf8) const;
    // As encode, but cut to at most maxBytes, never inside a character.
    Bytes encodeFitting(std::string_view utf8, std::size_t maxBytes) const;

private:
    class Converter {
    public:
        Converter(const char* to, const char* from);
        ~Converter();
        Converter(const Converter&) = delete;
        Converter& operator=(const Converter&) = delete;
        bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
        iconv_t handle() const { return handle_; }

    private:
        iconv_t handle_;
    };

    // Converts one piece of UTF-8; false when a character cannot be represented.
    bool tryEncode(std::string_view utf8, Bytes& out) const;

    int number_;
    std::filesystem::path file_;
    std::string name_;
    Converter decoder_;
    Converter encoder_;
    // iconv handles keep conversion state; readers on several threads take turns.
    mutable std::mutex mutex_;
};

} // namespace paradox
