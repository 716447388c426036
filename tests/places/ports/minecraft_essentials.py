"""Minecraft Java chat through EssentialsX: & codes turned into section-sign codes, then read as Java reads them."""
import re

from ports import java_legacy

SOURCE = ("EssentialsX 2.21 (EssentialsX/Essentials), Essentials/src/main/java/com/earth2me/essentials/utils/"
          "FormatUtil.java lines 23-24 (the patterns), 92-131 (replaceColor: legacy codes, then hex), 136-156 "
          "(parseHexColor); the section codes then read as BungeeCord's TextComponent.java lines 93-206 read them; "
          "the client's chat limits: BungeeCord's ClientChat.java line 33, DefinedPacket.java lines 142-158")

# FormatUtil.java lines 23-24.
REPLACE_ALL_PATTERN = re.compile(r"(&)?&([0-9a-fk-orA-FK-OR])")
REPLACE_ALL_RGB_PATTERN = re.compile(r"(&)?&#([0-9a-fA-F]{6})")


def replace_color(text):
    """FormatUtil.replaceColor(input, every ChatColor, rgb=true), lines 92-131."""
    # Lines 93-110: an unescaped &X becomes §X; an escaped one (&&X) the text &X.
    legacy = REPLACE_ALL_PATTERN.sub(
        lambda m: "&" + m.group(2) if m.group(1) is not None else "\u00a7" + m.group(2), text)
    # Lines 112-128: then &#RRGGBB becomes §x§R§R§G§G§B§B (lines 150-155); &&#RRGGBB the text &#RRGGBB.
    return REPLACE_ALL_RGB_PATTERN.sub(
        lambda m: "&#" + m.group(2) if m.group(1) is not None
        else "\u00a7x" + "".join("\u00a7" + d for d in m.group(2)), legacy)


def read(code):
    if java_legacy.java_chat_refuses(code):
        raise ValueError("the client refuses a section sign or control character in chat")
    return java_legacy.read_legacy(replace_color(code))


count = java_legacy.char16s
shown_as = java_legacy.java_chat_shown_as

EXAMPLES = [
    ("a typed & before a code letter", "a&b", []),
    ("a typed & ending every unit", "a&b&&c&", ["--step", "1"]),
    ("a typed hex code", "&#ff0000 and &&#00ff00", []),
    ("a typed hex code cut into units", "&#abcdef", ["--step", "1"]),
    ("a typed section sign", "\u00a7cX", ["--step", "2"]),
    ("a line break", "ab\r\ncd\n", ["--step", "2"]),
    ("styles after every code", "a&l b", ["--bold", "--underline"]),
]
