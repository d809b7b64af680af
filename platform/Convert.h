#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A stored 8-bit text as shown on screen: its bytes read as UTF-8, anything else replaced.
#include <QString>
QString DisplayText(const std::string &text);

// Whole numbers as the class library reads and writes them: optional leading blanks, an optional
// sign, then decimal digits or "$" and hexadecimal digits; nothing may follow, and the value must
// fit 32 bits (hexadecimal up to $FFFFFFFF, read as the signed value with those bits).
std::optional<int32_t> TryStrToInt(const std::string &text);
int32_t StrToInt(const std::string &text); // throws EConvertError
std::string IntToStr(int32_t value);
