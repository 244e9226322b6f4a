#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text from senders made safe to show: invalid UTF-8 becomes U+FFFD, control
// characters (but line feeds) and the bidirectional controls that could
// reorder what is shown are dropped, tabs become blanks, and text past
// maxCharacters is cut with an ellipsis (which counts as one of them).
std::string plainText(std::string_view bytes, std::size_t maxCharacters);

// The same after removing markup: tags such as Unity's rich text (<b>,
// <color=#7289da>, <size=300>) and the desktop's body markup (<i>, <a href>,
// <img>) go, <br> becomes a line break, and the XML entities (&amp;, &lt;,
// &#8364;...) become their characters. A '<' that opens no tag stays.
std::string plainTextFromMarkup(std::string_view bytes, std::size_t maxCharacters);

// Replaces invalid UTF-8 sequences with U+FFFD, keeping everything else.
std::string validUtf8(std::string_view bytes);
