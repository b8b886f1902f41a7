#pragma once
// Text conversions between the system code page, UTF-8 and UTF-16.
// On POSIX systems the code page is UTF-8, so the code-page conversions are
// bounded copies that never cut a multi-byte character.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Code page -> UTF-8.
std::string CodePageToUtf8(std::string_view text);

// UTF-8 -> code page into buffer; at most limit bytes including the
// terminating zero, which is always written when limit > 0. Returns the
// number of bytes written before the terminator.
std::size_t Utf8ToCodePage(std::string_view text, char* buffer, std::size_t limit);

// UTF-8 -> UTF-16. 1-, 2- and 3-byte sequences are decoded; 4-, 5- and
// 6-byte sequences are skipped without output; a malformed sequence ends
// the text.
std::u16string Utf8ToWide(std::string_view text);

// UTF-16 -> UTF-8. Surrogate pairs become one 4-byte character; an unpaired
// surrogate becomes U+FFFD; a zero unit is kept.
std::string WideToUtf8(std::u16string_view text);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

// Copies text into a fixed field of capacity bytes (terminator included),
// cutting at a character boundary. Returns the bytes copied.
std::size_t CopyBounded(char* field, std::size_t capacity, std::string_view text);

// Length of the longest prefix of text of at most maxBytes bytes that does
// not end inside a multi-byte UTF-8 character.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// "0x"/"0X" followed by up to 16 hex digits, otherwise up to 23 decimal
// digits (with an optional sign); stops at the first non-digit; "" gives 0.
std::int64_t ParseInt64Text(std::string_view text);
