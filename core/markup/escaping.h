#pragma once
// Writing the text so that the target shows exactly the characters typed. The
// escaped form of a character depends only on it and the character before it,
// never on where units are cut, so a code's escaped length is one figure for
// every step.

#include "core/markup/output_shape.h"

#include <array>
#include <initializer_list>
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
        case Escaping::Smf:
            if (c == u'[')
                return u"[nobbc][[/nobbc]";
            // A smiley's second character alone inside [nobbc], where no smiley is looked for.
            if (Follows(before, c,
                        {{u':', u"D:)(oP-'"}, {u';', u")D"}, {u'8', u")"}, {u'?', u"?"}, {u'^', u"-"}, {u'O', u"0"}}))
                return {kNoBbc[c].data(), kNoBbc[c].size()};
            // "&#", "&amp;"... read as one character by its count; "/me" a command.
            return PairBetween(before, c, {{u'&', u"#qalgn"}, {u'/', u"mM"}});
        case Escaping::Discuz:
            if (c == u'[')
                return u"[[b][/b]";
            // "&amp;"... one character to cutstr(); ":)", ";P", "{:2_25:}" its smilies.
            return PairBetween(before, c, {{u'&', u"qalg"}, {u':', kSmileyStarts}, {u';', u"P"}, {u'{', u":"}});
        case Escaping::MiniMessage:
            return c == u'<'    ? std::u16string_view(u"\\<")
                   : c == u'\\' ? std::u16string_view(u"\\\\")
                                : std::u16string_view();
        default:
            return {};
        }
    }

    // The second characters of Discuz!'s default smilies after ":".
    static constexpr std::u16string_view kSmileyStarts = u")(D'@oPL$Qlfcdshvtk";

    struct Pair {
        char16_t before;
        std::u16string_view then;
    };

    // An empty [b][/b] before c where it follows before and could make a
    // sequence the place reads: the place's reader drops the pair only after.
    static bool Follows(char16_t before, char16_t c, std::initializer_list<Pair> pairs) {
        for (const Pair& pair : pairs)
            if (before == pair.before && c < 0x80 && pair.then.find(c) != std::u16string_view::npos)
                return true;
        return false;
    }
    static std::u16string_view PairBetween(char16_t before, char16_t c, std::initializer_list<Pair> pairs) {
        return Follows(before, c, pairs) ? std::u16string_view(kPairs[c].data(), kPairs[c].size())
                                         : std::u16string_view();
    }

    static constexpr std::array<std::array<char16_t, 8>, 0x80> kPairs = [] {
        std::array<std::array<char16_t, 8>, 0x80> pairs{};
        for (std::size_t c = 0; c < pairs.size(); ++c)
            pairs[c] = {u'[', u'b', u']', u'[', u'/', u'b', u']', static_cast<char16_t>(c)};
        return pairs;
    }();
    // "[nobbc]c[/nobbc]" for each ASCII c.
    static constexpr std::array<std::array<char16_t, 16>, 0x80> kNoBbc = [] {
        std::array<std::array<char16_t, 16>, 0x80> texts{};
        constexpr std::u16string_view open = u"[nobbc]", close = u"[/nobbc]";
        for (std::size_t c = 0; c < texts.size(); ++c) {
            std::size_t at = 0;
            for (const char16_t t : open)
                texts[c][at++] = t;
            texts[c][at++] = static_cast<char16_t>(c);
            for (const char16_t t : close)
                texts[c][at++] = t;
        }
        return texts;
    }();

    Escaping escaping_;
    char16_t restated_;
    char16_t previous_ = 0;
};

} // namespace velmorant
