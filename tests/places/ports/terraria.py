"""Terraria's chat, as its decompiled reader reads a line: tags found by one regular
expression, a colour tag's options read as hex."""

import re

SOURCE = ("Terraria 1.4.4.9, decompiled (ZeroRin/Terraria-Source-Code): Terraria/UI/Chat/ChatManager.cs "
          "lines 59-91 (GetHandler, ParseMessage) and 430-433 (Regexes.Format); "
          "Terraria/GameContent/UI/Chat/ColorTagHandler.cs lines 16-24; "
          "Terraria/Initializers/ChatInitializer.cs lines 17-24; Terraria/UI/Chat/TextSnippet.cs line 17; "
          "Terraria/Main.cs lines 13139-13148 (the chat box cut by width) and 14446-14450 (paste, one line)")

# ChatManager.cs 432, .NET's syntax as Python spells it; "." stops at "\n" in both.
FORMAT = re.compile(r"(?<!\\)\[(?P<tag>[a-zA-Z]{1,10})(/(?P<options>[^:]+))?:(?P<text>.+?)(?<!\\)\]")
# ChatInitializer.cs 19-23: the names a handler is registered under (GetHandler lower-cases, 59-63).
COLOUR, NAME, PICTURES = {"c", "color"}, {"n", "name"}, {"i", "item", "a", "achievement", "g", "glyph"}
NO_STYLE = frozenset()


def _hex_int32(options):
    """int.TryParse(options, NumberStyles.AllowHexSpecifier): hex digits only, at most
    32 bits (read as two's complement), else None (ColorTagHandler.cs 20)."""
    if not options or not re.fullmatch(r"[0-9a-fA-F]+", options):
        return None
    value = int(options, 16)
    return value if value < 1 << 32 else None


def read(code):
    text = code.replace("\r", "")  # ParseMessage, line 67
    shown = []

    def plain(part, colour=None):
        shown.extend((c, colour, NO_STYLE) for c in part)

    at = 0
    for match in FORMAT.finditer(text):  # line 68: successive matches, left to right
        plain(text[at:match.start()])  # lines 73-74: the base colour, white: uncoloured
        at = match.end()
        tag, inner = match.group("tag").lower(), match.group("text")
        if tag in COLOUR:
            value = _hex_int32(match.group("options") or "")
            # ColorTagHandler.cs 22: the low three bytes; a failed parse leaves TextSnippet's white (line 17).
            plain(inner, None if value is None else "#%06x" % (value & 0xFFFFFF))
        elif tag in NAME:
            plain("<" + inner.replace("\\[", "[").replace("\\]", "]") + ">")
        elif tag in PICTURES:
            shown.append(("\ufffc", None, NO_STYLE))  # an icon, not text
        else:
            plain(inner)  # line 86: no handler, the text alone
    plain(text[at:])  # line 88-89
    return shown


def shown_as(typed):
    """One line (the box pastes one: Main.cs 14446-14450; CRs dropped at line 67), and a
    blank after each "\\", since none may stand before a tag's "]" (line 432)."""
    return typed.replace("\r\n", " ").replace("\r", " ").replace("\n", " ").replace("\t", " ").replace("\\", "\\ ")


def count(code):
    """Code points: the chat box cuts by the width of what shows (Main.cs 13139-13148),
    not by any count of the code; the destination counts the code's code points."""
    return len(code)


EXAMPLES = [
    ("a ] that starts a unit starts its tag", "a]b", ["--step", "1"]),
    ("a ] inside a unit opens a tag again", "ab]cd", ["--step", "3"]),
    ("a \\ before a ]", "a\\]b", ["--step", "3"]),
    ("a \\ ending a unit", "a\\b\\", ["--step", "2"]),
    ("] alone and doubled", "]]] ]", ["--step", "1"]),
    ("tag-like text stays text", "[i:1] [c/ff0000:x] [n:\\]]", ["--step", "4"]),
    ("a line break and a tab", "one\r\ntwo\tthree\nfour", ["--step", "2"]),
    ("colon, slash and hex", "[c/:] c/ffffff:", ["--step", "1"]),
    ("emoji, flags and marks", "👨‍👩‍👧 🇨🇳 e\u0301", ["--start", "red", "--end", "blue"]),
]
