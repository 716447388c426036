#pragma once
// CSS text cut into tokens as a browser cuts it, for the colour reader: comments
// dropped, CR and FF read as line feeds, escapes in names undone, numbers read
// with their exponent, and a dimension's unit or a function's name lower-cased.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmorant {

enum class TokenKind {
    Blank,      // one or more blanks, tabs or line breaks
    Ident,      // text: the name, lower-cased
    Function,   // text: the name before "(", lower-cased
    Hash,       // text: what follows "#", lower-cased
    Number,     // value
    Percentage, // value: the number before "%"
    Dimension,  // value and text: the unit, lower-cased
    Open,       // "(" not after a name
    Close,      // ")"
    Comma,
    Delim, // any other character, in text ("/", "+", "*", ...)
    Bad,   // a string or a bad escape: never part of a colour
};

struct CssToken {
    TokenKind kind = TokenKind::Bad;
    std::string text;
    double value = 0;
};

// Every token of text; what a browser would keep whole stays one token.
std::vector<CssToken> CssTokens(std::string_view text);

} // namespace velmorant
