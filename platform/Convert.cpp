#include "platform/Convert.h"

#include "platform/Exceptions.h"

QString DisplayText(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::optional<int32_t> TryStrToInt(const std::string &text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const bool hex = i < text.size() && text[i] == '$';
    if (hex)
        ++i;
    if (i == text.size())
        return std::nullopt;

    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * (hex ? 16 : 10) + uint64_t(digit);
        if (value > limit)
            return std::nullopt;
    }
    const uint32_t bits = uint32_t(value);
    return int32_t(negative ? 0u - bits : bits);
}

int32_t StrToInt(const std::string &text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(DisplayText(text)));
}

std::string IntToStr(int32_t value)
{
    return std::to_string(value);
}
