"""Minecraft Java's section-sign codes read into coloured characters, as BungeeCord reads them.

Follows BungeeCord (SpigotMC/BungeeCord, chat/src/main/java/net/md_5/bungee/api/chat/TextComponent.java
lines 93-206, populateComponentStructure behind fromLegacyText; chat/src/main/java/net/md_5/bungee/api/
ChatColor.java lines 39-123 for the codes, 244-274 for ChatColor.of). Shared by the Java chat places.
"""
import re

# ChatColor.java lines 39-99: the sixteen colours by code letter.
COLOURS = {
    "0": "#000000", "1": "#0000aa", "2": "#00aa00", "3": "#00aaaa", "4": "#aa0000", "5": "#aa00aa",
    "6": "#ffaa00", "7": "#aaaaaa", "8": "#555555", "9": "#5555ff", "a": "#55ff55", "b": "#55ffff",
    "c": "#ff5555", "d": "#ff55ff", "e": "#ffff55", "f": "#ffffff",
}
# Lines 103-119: the styles (k, obfuscated, is no style a person asks for here).
STYLES = {"l": "bold", "m": "strike", "n": "underline", "o": "italic", "k": "obfuscated"}
RESET = "r"
WHITE = COLOURS["f"]  # fromLegacyText's default colour, what RESET gives (line 68)


def java_hex(digits):
    """Integer.parseInt(digits, 16) as ChatColor.of (line 252) takes it, or None where Java throws."""
    if not re.fullmatch(r"[+-]?[0-9A-Fa-f]+", digits):
        return None
    value = int(digits, 16)
    return f"#{value & 0xFFFFFF:06x}" if -(1 << 31) <= value < (1 << 31) else None


def utf16(text):
    """Java's view of a string: one entry per UTF-16 unit."""
    data = text.encode("utf-16-le", "surrogatepass")
    return [chr(int.from_bytes(data[k:k + 2], "little")) for k in range(0, len(data), 2)]


def read_legacy(text):
    """(character, '#rrggbb' or None, styles) per code point shown; TextComponent.java lines 93-206."""
    message = utf16(text)
    shown, colour, styles, i, n = [], None, set(), 0, len(message)
    while i < n:
        c = message[i]
        if c == "\u00a7":  # line 102
            i += 1
            if i >= n:  # lines 104-107: a sign at the end is dropped
                break
            c = message[i]
            if "A" <= c <= "Z":  # lines 109-112
                c = chr(ord(c) + 32)
            if c == "x" and i + 12 < n:  # lines 114-129: the digits after every other character
                kind, value = "colour", java_hex("".join(message[i + 2 + j * 2] for j in range(6)))
                i += 12
            elif c in STYLES:
                kind, value = "style", STYLES[c]
            else:
                kind, value = "colour", WHITE if c == RESET else COLOURS.get(c)
            i += 1
            if value is None:  # lines 134-137: an unknown code takes its character along
                continue
            if kind == "style":  # lines 146-160
                styles = styles | {value}
            else:  # lines 161-170: a new component, colour set, styles reset
                colour, styles = value, set()
            continue
        # Lines 173-201: text (a web address only gains a click event).
        shown.append((c, colour, frozenset(styles)))
        i += 1
    return code_points(shown)


def code_points(shown):
    """UTF-16 units back to code points, a pair taking the first unit's colour and styles."""
    out = []
    for ch, col, st in shown:
        if out and "\udc00" <= ch <= "\udfff" and "\ud800" <= out[-1][0] <= "\udbff":
            pair = (out[-1][0] + ch).encode("utf-16-le", "surrogatepass").decode("utf-16-le")
            out[-1] = (pair, out[-1][1], out[-1][2])
        else:
            out.append((ch, col, st))
    return out


def char16s(code):
    """Java's String.length(): UTF-16 units."""
    return len(code.encode("utf-16-le")) // 2


def java_chat_refuses(code):
    """The client sends no section sign, control character or DEL (StringHelper.isValidChar in the game's
    Yarn-mapped documentation: c != '§' && c >= ' ' && c != 127); the server disconnects on one."""
    return any(c == "\u00a7" or ord(c) < 0x20 or ord(c) == 0x7F for c in code)


def java_chat_shown_as(typed):
    """What the CLI writes for what Java chat cannot show: a line break or tab as a no-break space (CR LF as
    two), other controls and the section sign as U+FFFD."""
    return "".join("\u00a0" if c in "\t\n\r" else "\ufffd" if c == "\u00a7" or ord(c) < 0x20 or ord(c) == 0x7F
                   else c for c in typed)
