"""A Discord message of one ```ansi block, read as Discord's client reads it."""
import re

SOURCE = ("Discord's markdown as brussell98/discord-markdown ports it, index.js lines 48-56 (the codeBlock rule and its "
          "language); the ansi block's SGR codes and the colours the client paints for 30-37, read through its "
          "developer tools (as rebane2001's Discord Colored Text Generator shows them); only 0, 1 and 4 of the formats "
          "(simonLeary42/daad, daad/discord_ansi_adapter.py lines 60-63); the API's count in code points "
          "(discord/discord-api-docs issue 1315), after the editor has made every line break one LF")
CODE_BLOCK = re.compile(r"```(([a-z0-9-]+?)\n+)?\n*([\s\S]+?)\n*```", re.IGNORECASE)  # index.js 49
COLOURS = dict(zip(range(30, 38), ["#4f545c", "#dc322f", "#859900", "#b58900",
                                   "#268bd2", "#d33682", "#2aa198", "#ffffff"]))
ALLOWED = set(COLOURS.values())


def read(code):
    block = CODE_BLOCK.match(code)  # line breaks kept as written: the harness lines them up
    if not block or code[block.end():].strip():
        raise ValueError("not one code block")
    if (block.group(2) or "").lower() != "ansi":
        raise ValueError("not an ansi block: no colours")
    shown, colour, styles, at, content = [], None, set(), 0, block.group(3)
    for sgr in re.finditer(r"\x1b\[([0-9;]*)m", content):
        shown.extend((c, colour, frozenset(styles)) for c in content[at:sgr.start()])
        at = sgr.end()
        for n in (int(p or 0) for p in sgr.group(1).split(";")):
            if n == 0:
                colour, styles = None, set()
            elif n in (1, 4):
                styles.add("bold" if n == 1 else "underline")
            colour = COLOURS.get(n, colour)  # backgrounds and the rest leave it
    shown.extend((c, colour, frozenset(styles)) for c in content[at:])
    return shown


def shown_as(typed):
    return typed.replace("\x1b", "\u241b")  # a typed ESC would start a code: written as its picture


def count(code):
    return len(code.replace("\r\n", "\n"))


EXAMPLES = [
    ("fences and backticks typed", "`` a ``` b ```ansi `", ["--step", "1"]),
    ("ESC, codes and markdown typed", "\x1b[31mr\x1b[0m **b** ||x|| <@1>", ["--bold", "--underline"]),
    ("line breaks at the ends", "\nfirst\r\nlast\n", []),
]
