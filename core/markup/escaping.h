#pragma once
// Writing the text so that the target shows exactly the characters typed. The
// escaped form of a character depends only on it, the character before it and,
// for a "[", the characters after it in the whole text, never on where units are
// cut, so a code's escaped length is one figure for every step.

#include "core/markup/output_shape.h"

#include <string_view>

namespace velmorant {

class TextEscaper {
public:
    // whole is the text every piece written is a part of, for looking past a piece's end.
    explicit TextEscaper(const MarkupForm& form, std::u16string_view whole = {})
        : escaping_(form.escaping), restated_(form.restated), tagBreak_(form.tagBreak),
          wholeEnd_(whole.empty() ? nullptr : whole.data() + whole.size()) {}

    // Whether any character changes: otherwise the text goes out as it is.
    bool Active() const { return escaping_ != Escaping::None && escaping_ != Escaping::Terminal; }

    // Hands put the escaped text piece by piece, in order; head is the unit's
    // colour code, for Restate.
    template <class Put> void Write(std::u16string_view text, std::u16string_view head, Put&& put) {
        std::size_t plain = 0; // start of the characters not yet handed over
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            const char16_t before = previous_;
            previous_ = c;
            if (escaping_ == Escaping::BbCodeTags || escaping_ == Escaping::MyCode) {
                const std::u16string_view escape =
                    LookingAhead(c, before, text.data() + i + 1, wholeEnd_ ? wholeEnd_ : text.data() + text.size());
                if (escape.empty())
                    continue;
                // A tag break follows the "[" it breaks off; a reference stands for its character.
                put(text.substr(plain, i + (escaping_ == Escaping::BbCodeTags ? 1 : 0) - plain));
                put(escape);
                plain = i + 1;
                continue;
            }
            const std::u16string_view escape = EscapeOf(c, before);
            if (escape.empty() && !(escaping_ == Escaping::Restate && c == restated_))
                continue;
            put(text.substr(plain, i - plain));
            plain = i + 1;
            if (escaping_ == Escaping::Restate) {
                put(text.substr(i, 1));
                put(head);
            } else {
                put(escape);
            }
        }
        put(text.substr(plain));
    }

    // Whether the text from at (just after a "[") reads as a tag's start: "/"
    // maybe, a name of ASCII letters, digits, "_" and "-" (or "*"), then "]",
    // "=", ":", "/" or white space. Any name, not only those the place knows,
    // since boards add their own tags.
    static bool TagCouldStart(const char16_t* at, const char16_t* end) {
        if (at < end && *at == u'/')
            ++at;
        const char16_t* name = at;
        if (at < end && *at == u'*') {
            ++at;
        } else {
            while (at < end && (IsAsciiAlnum(*at) || *at == u'_' || *at == u'-'))
                ++at;
        }
        if (at == name || at == end)
            return false;
        const char16_t after = *at;
        return after == u']' || after == u'=' || after == u':' || after == u'/' || after == u' ' || after == u'\t' ||
               after == u'\n' || after == u'\r' || after == u'\v' || after == u'\f';
    }

private:
    static bool IsAsciiAlnum(char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    }

    // Whether the text from at starts with word, ASCII letters in any case.
    static bool StartsWithFolded(const char16_t* at, const char16_t* end, std::u16string_view word) {
        if (end - at < static_cast<std::ptrdiff_t>(word.size()))
            return false;
        for (const char16_t w : word) {
            const char16_t c = *at++;
            if (c != w && !(w >= u'a' && w <= u'z' && c == w - 32))
                return false;
        }
        return true;
    }

    // The escape of c for the formats that look at what follows; empty for none.
    std::u16string_view LookingAhead(char16_t c, char16_t before, const char16_t* at, const char16_t* end) const {
        if (escaping_ == Escaping::BbCodeTags)
            return c == u'[' && TagCouldStart(at, end) ? tagBreak_ : std::u16string_view();
        switch (c) {
        case u'[':
            return TagCouldStart(at, end) ? u"&#91;" : std::u16string_view();
        case u'&': {
            // MyBB leaves "&#" with digits and ";" for the browser to read as a character.
            if (at == end || *at != u'#')
                return {};
            const char16_t* digit = ++at;
            while (at < end && *at >= u'0' && *at <= u'9')
                ++at;
            return at > digit && at < end && *at == u';' ? u"&#38;" : std::u16string_view();
        }
        case u'(':
            return StartsWithFolded(at, end, u"c)") || StartsWithFolded(at, end, u"tm)") ||
                           StartsWithFolded(at, end, u"r)")
                       ? u"&#40;"
                       : std::u16string_view();
        case u'/':
            return (before == 0 || before == u'\n' || before == u'\r') &&
                           (StartsWithFolded(at, end, u"me ") || StartsWithFolded(at, end, u"slap "))
                       ? u"&#47;"
                       : std::u16string_view();
        default:
            return {};
        }
    }

    std::u16string_view EscapeOf(char16_t c, char16_t before) const {
        switch (escaping_) {
        case Escaping::Html:
            switch (c) {
            case u'&':
                return u"&amp;";
            case u'<':
                return u"&lt;";
            case u'>':
                return u"&gt;";
            case u'"':
                return u"&quot;";
            case u'\u00a0':
                return u"&#160;";
            case u' ':
                // HTML folds a blank after white space away.
                return before == u' ' || before == u'\t' || before == u'\n' || before == u'\r'
                           ? std::u16string_view(u"&nbsp;")
                           : std::u16string_view();
            case u'\r':
                return u"<br>\r";
            case u'\n':
                return before == u'\r' ? std::u16string_view() : std::u16string_view(u"<br>\n");
            default:
                return {};
            }
        case Escaping::BbCode:
            return c == u'[' ? std::u16string_view(u"[[b][/b]") : std::u16string_view();
        case Escaping::MiniMessage:
            return c == u'<'    ? std::u16string_view(u"\\<")
                   : c == u'\\' ? std::u16string_view(u"\\\\")
                                : std::u16string_view();
        default:
            return {};
        }
    }

    Escaping escaping_;
    char16_t restated_;
    std::u16string_view tagBreak_;
    const char16_t* wholeEnd_; // where the whole text ends, null for pieces alone
    char16_t previous_ = 0;
};

} // namespace velmorant
