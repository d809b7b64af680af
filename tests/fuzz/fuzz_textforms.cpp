// Any bytes as the stored text of a setting: every conversion gives what its rules say, fails
// only with its conversion message, and what the program writes reads back to the same value.
#include "platform/Colors.h"
#include "platform/Convert.h"
#include "platform/Exceptions.h"
#include "strip/Settings.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

[[noreturn]] void fail(const char *what, const std::string &text)
{
    std::fprintf(stderr, "text forms: %s for '%s'\n", what, text.c_str());
    std::abort();
}

// The integer rule, written out a second way: blanks, a sign, then decimal digits or "$" and
// hexadecimal digits, and a value that fits 32 bits.
std::optional<int32_t> modelInteger(const std::string &text)
{
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    i += hex;
    const std::string digits = text.substr(i);
    if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, hex ? 16 : 10);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (hex ? magnitude > 0xFFFFFFFFu : magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu))
        return std::nullopt;
    const uint32_t bits = uint32_t(magnitude);
    return int32_t(negative ? 0u - bits : bits);
}

std::optional<int32_t> tryConvert(int32_t (*convert)(const std::string &), const std::string &text)
{
    try {
        return convert(text);
    } catch (const EConvertError &e) {
        if (e.Message != QStringLiteral("'%1' is not a valid integer value").arg(DisplayText(text)))
            fail("a conversion failed with another message", text);
        return std::nullopt;
    }
}

TColor colourOf(const std::string &text) { return StringToColor(text); }

bool isColourText(const std::string &text)
{
    if (text.size() == 9 && text[0] == '$')
        return text.find_first_not_of("0123456789ABCDEF", 1) == std::string::npos;
    return text.size() > 2 && text.compare(0, 2, "cl") == 0;
}

void colourRoundTrip(TColor colour)
{
    const std::string written = ColorToString(colour);
    if (!isColourText(written))
        fail("a colour was written in no colour form", written);
    const auto back = tryConvert(colourOf, written);
    if (!back || *back != colour)
        fail("a written colour reads back as another", written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);

    const auto integer = tryConvert(StrToInt, text);
    if (integer != modelInteger(text))
        fail("StrToInt breaks the integer rule", text);
    if (integer && tryConvert(StrToInt, IntToStr(*integer)) != integer)
        fail("a written integer reads back as another", text);

    // A colour is a name in any case, or else an integer.
    const auto colour = tryConvert(colourOf, text);
    if (integer && colour != integer)
        fail("a number reads as another colour", text);
    if (colour) {
        if (!integer && strcasecmp(ColorToString(*colour).c_str(), text.c_str()) != 0)
            fail("a colour name reads as another colour", text);
        colourRoundTrip(*colour);
    }
    if (size >= 4) {
        int32_t bits;
        std::memcpy(&bits, data, 4);
        colourRoundTrip(bits);
    }

    if (TextToBool(text) != (text == "true"))
        fail("a Boolean other than exactly true", text);
    if (!TextToBool(BoolToText(true)) || TextToBool(BoolToText(false)))
        fail("a Boolean does not read back", text);

    // The style set: seven texts give their sets, every other text the empty set.
    const TFontStyles style = TextToStyle(text);
    if (StyleToText(style) != (style ? text : std::string()))
        fail("a style text reads as another set", text);
    if (size >= 1) {
        const TFontStyles set = TFontStyles(data[0]);
        const std::string written = StyleToText(set);
        if (TextToStyle(written) != (written.empty() ? 0 : set))
            fail("a written style set reads back as another", written);
    }
    return 0;
}
