// The system's 8-bit code page: the ANSI code page on Windows, Windows-1252 elsewhere.
// Field text, texts handed to the host and the sheet stream are 8-bit; names and captions are
// 16-bit and cross into 8-bit only through these two calls.
#pragma once

#include <string>
#include <string_view>

namespace rt {

std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view text);

// ASCII-only case folding, the rule used for component and field names.
char16_t AsciiUpper(char16_t c);
std::u16string AsciiUpper(std::u16string_view text);
bool SameTextAscii(std::u16string_view a, std::u16string_view b);

}  // namespace rt
