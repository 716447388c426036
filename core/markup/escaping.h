#pragma once
// Writing the text so that the target shows exactly the characters typed. The
// escaped form of a character depends only on it and the character before it,
// never on where units are cut, so a code's escaped length is one figure for
// every step.

#include "core/markup/output_shape.h"

#include <string_view>

namespace velmorant {

class TextEscaper {
public:
    explicit TextEscaper(const MarkupForm& form) : escaping_(form.escaping), restated_(form.restated) {}

    // Whether any character changes: otherwise the text goes out as it is.
    bool Active() const { return escaping_ != Escaping::None && escaping_ != Escaping::Terminal; }

    // Hands put the escaped text piece by piece, in order; head is the unit's
    // colour code, for Restate.
    template <class Put> void Write(std::u16string_view text, std::u16string_view head, Put&& put) {
        if (escaping_ == Escaping::TagText)
            return WriteTagText(text, head, put);
        std::size_t plain = 0; // start of the characters not yet handed over
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            const char16_t before = previous_;
            previous_ = c;
            const std::u16string_view escape = EscapeOf(c, before);
            const bool restate = (escaping_ == Escaping::Restate || escaping_ == Escaping::CodeBlock) && c == restated_;
            if (escape.empty() && !restate)
                continue;
            put(text.substr(plain, i - plain));
            plain = i + 1;
            if (restate) {
                put(text.substr(i, 1));
                put(head);
            } else {
                put(escape);
            }
        }
        put(text.substr(plain));
    }

private:
    // One unit's text in its own tag, head just written: a "]" can only be a
    // tag's first character, a "\" must not stand before a tag's end (wherever
    // the units are cut: so it always takes a blank), and the tag holds one line.
    template <class Put> void WriteTagText(std::u16string_view text, std::u16string_view head, Put&& put) {
        std::size_t plain = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            const char16_t before = i > 0 ? text[i - 1] : previous_;
            if (c == u'\t' || c == u'\n' || c == u'\r') {
                put(text.substr(plain, i - plain));
                plain = i + 1;
                if (!(c == u'\n' && before == u'\r'))
                    put(u" ");
            } else if (c == u']' && i > 0) {
                put(text.substr(plain, i - plain));
                put(u"]");
                put(head);
                plain = i;
            } else if (c == u'\\') {
                put(text.substr(plain, i + 1 - plain));
                put(u" ");
                plain = i + 1;
            }
        }
        put(text.substr(plain));
        if (!text.empty())
            previous_ = text.back();
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
        case Escaping::CodeBlock:
            return c == u'\x1b' ? std::u16string_view(u"\u241b") : std::u16string_view();
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
    char16_t previous_ = 0;
};

} // namespace velmorant
