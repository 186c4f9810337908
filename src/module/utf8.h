#pragma once

#include <string>

// Conversions between the device's UTF-16 texts and UTF-8, as code page 65001 does them.

// An unpaired surrogate becomes U+FFFD.
std::string toUtf8(const std::u16string &text);

// False for bytes that are not well-formed UTF-8 (overlong forms and encoded surrogates included).
bool fromUtf8(const std::string &bytes, std::u16string &text);
