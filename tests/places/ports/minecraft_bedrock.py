"""Minecraft Bedrock chat: section-sign codes from a fixed set of colours, read as PocketMine-MP reads them."""
import re

from ports import common, java_legacy

SOURCE = ("PocketMine-MP (pmmp/PocketMine-MP), src/utils/TextFormat.php: the codes §0-§v (the constants BLACK to "
          "MATERIAL_RESIN, OBFUSCATED, BOLD, ITALIC, RESET), tokenize() (split at § and one of 0-9a-v) and toHTML() "
          "(each colour or style opens a span that stays open until §r, so styles outlive colour codes; the "
          "colours it draws them in); src/player/Player.php MAX_CHAT_CHAR_LENGTH = 512 code points")

# TextFormat::toHTML's colours, by code letter: Java's sixteen, then the material colours.
COLOURS = {
    **java_legacy.COLOURS, "g": "#dddd00", "h": "#e2d3d1", "i": "#cec9c9", "j": "#44393a", "m": "#961506",
    "n": "#b4684d", "p": "#deb02c", "q": "#119f36", "s": "#2cb9a8", "t": "#20487a", "u": "#9a5cc5", "v": "#fc7812",
}
STYLES = {"l": "bold", "o": "italic", "k": "obfuscated"}
ALLOWED = set(COLOURS.values())


def read(code):
    """toHTML's walk: a colour or style token opens a span (the innermost colour shows), §r closes them all."""
    shown, spans = [], []  # (None, colour, style) per open span, innermost last
    for token in re.split("(\u00a7[0-9a-v])", code):
        if not re.fullmatch("\u00a7[0-9a-v]", token):
            shown += common.paint(token, spans)
        elif token[1] == "r":
            spans = []
        elif token[1] in COLOURS or token[1] in STYLES:  # any other code (none is written) shows nothing
            spans.append((None, COLOURS.get(token[1]), STYLES.get(token[1])))
    return shown


count = len  # mb_strlen: code points


def shown_as(typed):
    # Bedrock has no escape: a typed section sign would start a code.
    return typed.replace("\u00a7", "\ufffd")


EXAMPLES = [
    ("a typed section code", "\u00a7cX \u00a7\u00a7m", ["--step", "2"]),
    ("grey to gold", "Bedrock chat", ["--start=#808080", "--end=#ffa500"]),
    ("bold and italic outlive colour codes", "styles stay on", ["--bold", "--italic"]),
    ("emoji and flags", "\U0001F468\u200d\U0001F469\u200d\U0001F467\U0001F1E8\U0001F1F3e\u0301", []),
]
