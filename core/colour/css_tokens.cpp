#include "core/colour/css_tokens.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmorant {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsNewline(char c) { return c == '\n' || c == '\r' || c == '\f'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || IsNewline(c); }
// Bytes of UTF-8 beyond ASCII belong to names, as the code points they spell do.
bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsName(char c) { return IsNameStart(c) || IsDigit(c) || c == '-'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::vector<CssToken> All() {
        std::vector<CssToken> out;
        while (at_ < text_.size()) {
            if (text_.substr(at_, 2) == "/*") {
                const std::size_t end = text_.find("*/", at_ + 2);
                at_ = end == std::string_view::npos ? text_.size() : end + 2;
                continue;
            }
            CssToken token = Next();
            // Blanks on either side of a comment are one run of blanks.
            if (token.kind == TokenKind::Blank && !out.empty() && out.back().kind == TokenKind::Blank)
                continue;
            out.push_back(std::move(token));
        }
        return out;
    }

private:
    char At(std::size_t k) const { return at_ + k < text_.size() ? text_[at_ + k] : '\0'; }
    bool Escape(std::size_t k) const { return At(k) == '\\' && at_ + k + 1 < text_.size() && !IsNewline(At(k + 1)); }
    bool StartsName(std::size_t k) const {
        if (At(k) == '-')
            return IsNameStart(At(k + 1)) || At(k + 1) == '-' || Escape(k + 1);
        return IsNameStart(At(k)) || Escape(k);
    }
    bool StartsNumber() const {
        std::size_t k = At(0) == '+' || At(0) == '-' ? 1 : 0;
        return IsDigit(At(k)) || (At(k) == '.' && IsDigit(At(k + 1)));
    }

    CssToken Next() {
        const char c = text_[at_];
        if (IsBlank(c)) {
            while (at_ < text_.size() && IsBlank(text_[at_]))
                ++at_;
            return {TokenKind::Blank, "", 0};
        }
        if (StartsNumber())
            return Numeric();
        if (StartsName(0)) {
            std::string name = Name();
            if (At(0) == '(') {
                ++at_;
                return {TokenKind::Function, std::move(name), 0};
            }
            return {TokenKind::Ident, std::move(name), 0};
        }
        ++at_;
        switch (c) {
        case '#':
            if (IsName(At(0)) || Escape(0))
                return {TokenKind::Hash, Name(), 0};
            return {TokenKind::Delim, "#", 0};
        case '(':
            return {TokenKind::Open, "", 0};
        case ')':
            return {TokenKind::Close, "", 0};
        case ',':
            return {TokenKind::Comma, "", 0};
        case '"':
        case '\'':
        case '\\':
            return {TokenKind::Bad, "", 0};
        default:
            return {TokenKind::Delim, std::string(1, c), 0};
        }
    }

    // A name from here, escapes undone and letters lower-cased.
    std::string Name() {
        std::string name;
        while (at_ < text_.size()) {
            if (Escape(0)) {
                ++at_;
                AppendEscape(name);
            } else if (IsName(text_[at_])) {
                name.push_back(Lower(text_[at_++]));
            } else {
                break;
            }
        }
        return name;
    }

    // After a backslash: up to six hex digits and one blank, or the character itself.
    void AppendEscape(std::string& name) {
        if (!IsHex(At(0))) {
            name.push_back(Lower(text_[at_++]));
            return;
        }
        std::uint32_t code = 0;
        for (int k = 0; k < 6 && IsHex(At(0)); ++k, ++at_)
            code = code * 16 + static_cast<std::uint32_t>(IsDigit(At(0)) ? At(0) - '0' : Lower(At(0)) - 'a' + 10);
        if (at_ < text_.size() && IsBlank(text_[at_]))
            at_ += text_.substr(at_, 2) == "\r\n" ? 2 : 1;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        if (code < 0x80) {
            name.push_back(Lower(static_cast<char>(code)));
        } else if (code < 0x800) {
            name.push_back(static_cast<char>(0xC0 | (code >> 6)));
            name.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            name.push_back(static_cast<char>(0xE0 | (code >> 12)));
            name.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            name.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            name.push_back(static_cast<char>(0xF0 | (code >> 18)));
            name.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            name.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            name.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    // [+-] digits [. digits] [e [+-] digits], then "%" or a unit.
    CssToken Numeric() {
        const std::size_t from = at_;
        if (At(0) == '+' || At(0) == '-')
            ++at_;
        while (IsDigit(At(0)))
            ++at_;
        if (At(0) == '.' && IsDigit(At(1)))
            for (++at_; IsDigit(At(0));)
                ++at_;
        if ((At(0) == 'e' || At(0) == 'E') && (IsDigit(At(1)) || ((At(1) == '+' || At(1) == '-') && IsDigit(At(2))))) {
            at_ += IsDigit(At(1)) ? 1 : 2;
            while (IsDigit(At(0)))
                ++at_;
        }
        CssToken token{TokenKind::Number, "", ReadNumber(text_.substr(from, at_ - from))};
        if (At(0) == '%') {
            ++at_;
            token.kind = TokenKind::Percentage;
        } else if (StartsName(0)) {
            token.kind = TokenKind::Dimension;
            token.text = Name();
        }
        return token;
    }

    // Too large a number is infinite, as a double holds it.
    static double ReadNumber(std::string_view digits) {
        const bool negative = digits.front() == '-';
        if (digits.front() == '+' || digits.front() == '-')
            digits.remove_prefix(1);
        double value = 0;
        const auto [end, error] = fast_float::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc::result_out_of_range) {
            const std::size_t e = digits.find_first_of("eE");
            value = e != std::string_view::npos && digits[e + 1] == '-' ? 0 : std::numeric_limits<double>::infinity();
        }
        (void)end;
        // A browser keeps a number in a float's range: 1e309 reads as its largest.
        value = std::min(value, static_cast<double>(std::numeric_limits<float>::max()));
        return negative ? -value : value;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

std::vector<CssToken> CssTokens(std::string_view text) { return Reader(text).All(); }

} // namespace velmorant
