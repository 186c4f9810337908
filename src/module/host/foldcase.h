#pragma once

#include <string>

// The emulated device compares names without regard to case; only ASCII letters are folded.
inline std::u16string foldCase(std::u16string text)
{
    for (char16_t &c : text) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + (u'a' - u'A'));
    }
    return text;
}
