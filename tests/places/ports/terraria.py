"""Terraria's chat as its decompiled reader reads a line: tags by one regular expression."""
import re

SOURCE = ("Terraria 1.4.4.9, decompiled (ZeroRin/Terraria-Source-Code): Terraria/UI/Chat/ChatManager.cs lines 59-91 "
          "(GetHandler, ParseMessage) and 430-433 (Regexes.Format); Terraria/GameContent/UI/Chat/ColorTagHandler.cs "
          "lines 16-24; Terraria/Initializers/ChatInitializer.cs lines 17-24; Terraria/UI/Chat/TextSnippet.cs line 17; "
          "Terraria/Main.cs lines 13139-13148 (the box cut by width) and 14446-14450 (a paste is one line)")
# ChatManager.cs 432 in Python's spelling; "." stops at "\n" in both.
FORMAT = re.compile(r"(?<!\\)\[(?P<tag>[a-zA-Z]{1,10})(/(?P<options>[^:]+))?:(?P<text>.+?)(?<!\\)\]")


def read(code):
    text, shown, at = code.replace("\r", ""), [], 0  # ParseMessage, line 67
    plain = lambda part, colour=None: shown.extend((c, colour, frozenset()) for c in part)
    for match in FORMAT.finditer(text):  # line 68, left to right
        plain(text[at:match.start()])  # lines 73-74: white, the base colour
        at, tag, inner = match.end(), match.group("tag").lower(), match.group("text")
        options = match.group("options") or ""
        if tag in ("c", "color"):  # ColorTagHandler.cs 20-22: int.TryParse as hex, the low three bytes
            ok = re.fullmatch(r"[0-9a-fA-F]{1,8}", options)
            plain(inner, "#%06x" % (int(options, 16) & 0xFFFFFF) if ok else None)
        elif tag in ("n", "name"):
            plain("<" + inner.replace("\\[", "[").replace("\\]", "]") + ">")
        elif tag in ("i", "item", "a", "achievement", "g", "glyph"):
            shown.append(("\ufffc", None, frozenset()))  # an icon, not text
        else:
            plain(inner)  # line 86: no handler, the text alone
    plain(text[at:])  # lines 88-89
    return shown


def shown_as(typed):
    """One line (a paste is one; CRs dropped), and a blank after each "\\": none may stand before a "]"."""
    return re.sub(r"\r\n|[\r\n\t]", " ", typed).replace("\\", "\\ ")


count = len  # code points: the box cuts by the width of what shows, not by a count of the code


EXAMPLES = [
    ("] starts a unit, opens a tag, ends one", "a]b ]] x]", ["--step", "1"]),
    ("\\ before ] and ending a unit", "a\\]b\\c\\", ["--step", "2"]),
    ("tag-like text, line breaks and tabs", "[i:1] [c/ff0000:x]\r\n[n:\\]]\tz", ["--step", "3"]),
]
