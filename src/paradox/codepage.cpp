#include "paradox/codepage.h"

#include "paradox/failure.h"

#include <algorithm>
#include <cerrno>

namespace paradox {

namespace {

std::string iconvName(int number)
{
    return number == utf8CodePage ? "UTF-8" : "CP" + std::to_string(number);
}

// Length of the UTF-8 sequence that starts with lead, 0 for a byte that cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

std::string quoted(std::string_view text)
{
    std::size_t shown = std::min<std::size_t>(text.size(), 40);
    while (shown < text.size() && shown > 0 && (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80)
        --shown; // never end inside a character
    std::string result(1, '"');
    result.append(text.substr(0, shown));
    result.append(shown < text.size() ? "...\"" : "\"");
    return result;
}

} // namespace

CodePage::Converter::Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}

CodePage::Converter::~Converter()
{
    if (valid())
        iconv_close(handle_);
}

CodePage::CodePage(int number, std::filesystem::path file)
    : number_(number), file_(std::move(file)), name_(iconvName(number)), decoder_("UTF-8", name_.c_str()),
      encoder_(name_.c_str(), "UTF-8")
{
    if (!decoder_.valid() || !encoder_.valid())
        fail(file_, "the table uses code page " + std::to_string(number) + ", which this system cannot convert");
}

CodePage::~CodePage() = default;

std::string CodePage::decode(std::span<const std::uint8_t> bytes) const
{
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    std::string input(bytes.begin(), end);
    std::string output(input.size() * 4 + 8, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();

    std::lock_guard guard(mutex_);
    iconv(decoder_.handle(), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(decoder_.handle(), &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) { // cannot happen with 4 output bytes per input byte, but stay safe
            const auto used = static_cast<std::size_t>(out - output.data());
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = output.size() - used;
            continue;
        }
        // An undefined or incomplete byte: show a replacement character and go on after it.
        constexpr std::string_view replacement = "\xEF\xBF\xBD";
        if (outLeft < replacement.size())
            break;
        out = std::copy(replacement.begin(), replacement.end(), out);
        outLeft -= replacement.size();
        ++in;
        --inLeft;
        iconv(decoder_.handle(), nullptr, nullptr, nullptr, nullptr);
    }
    output.resize(static_cast<std::size_t>(out - output.data()));
    return output;
}

bool CodePage::tryEncode(std::string_view utf8, Bytes& out) const
{
    std::string input(utf8);
    char* in = input.data();
    std::size_t inLeft = input.size();
    const std::size_t start = out.size();
    out.resize(start + input.size() * 4 + 8);
    char* target = reinterpret_cast<char*>(out.data() + start);
    std::size_t targetLeft = out.size() - start;

    std::lock_guard guard(mutex_);
    iconv(encoder_.handle(), nullptr, nullptr, nullptr, nullptr);
    const bool complete =
        iconv(encoder_.handle(), &in, &inLeft, &target, &targetLeft) != static_cast<std::size_t>(-1) &&
        iconv(encoder_.handle(), nullptr, nullptr, &target, &targetLeft) != static_cast<std::size_t>(-1);
    out.resize(static_cast<std::size_t>(reinterpret_cast<std::uint8_t*>(target) - out.data()));
    if (!complete)
        out.resize(start);
    return complete;
}

Bytes CodePage::encode(std::string_view utf8) const
{
    if (utf8.find('\0') != std::string_view::npos)
        fail(file_, "the text " + quoted(utf8) + " contains a NUL character, which a table cannot store");
    Bytes out;
    if (!tryEncode(utf8, out))
        fail(file_, "the text " + quoted(utf8) +
                        (number_ == utf8CodePage ? " is not valid UTF-8"
                                                 : " has characters that code page " + std::to_string(number_) +
                                                       " of this table cannot hold"));
    return out;
}

Bytes CodePage::encodeFitting(std::string_view utf8, std::size_t maxBytes) const
{
    Bytes whole = encode(utf8);
    if (whole.size() <= maxBytes)
        return whole;
    // Too long: add whole characters while they fit. Encoding them one by one also keeps a
    // multibyte code page's character in one piece.
    Bytes out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t length = std::max<std::size_t>(1, sequenceLength(static_cast<unsigned char>(utf8[pos])));
        Bytes character;
        tryEncode(utf8.substr(pos, length), character);
        if (out.size() + character.size() > maxBytes)
            break;
        out.insert(out.end(), character.begin(), character.end());
        pos += length;
    }
    return out;
}

} // namespace paradox
