"""Minecraft Java chat through MiniMessage (Paper): Adventure's tokenizer, tag tree and gradient."""
import re

from ports import java_legacy

SOURCE = ("Adventure 4.17 (KyoriPowered/adventure), text-minimessage/src/main/java/net/kyori/adventure/text/"
          "minimessage/internal/parser/TokenParser.java lines 150-287 (first pass, the legacy-code refusal at "
          "163-178), 386-503 (the tree), 615-650 (unescape); tag/standard/GradientTag.java lines 108-133, "
          "AbstractColorChangingTag.java lines 72-139; api/src/main/java/net/kyori/adventure/text/format/"
          "TextColor.java lines 265-278 (lerp); the client's chat limits: BungeeCord's ClientChat.java line 33")

TAG_START, TAG_END, CLOSE_TAG, ESCAPE = "<", ">", "/", "\\"
NAMED = dict(java_legacy.COLOURS)  # NamedTextColor's values are the sixteen legacy colours
NAMES = {"black": "0", "dark_blue": "1", "dark_green": "2", "dark_aqua": "3", "dark_red": "4", "dark_purple": "5",
         "gold": "6", "gray": "7", "dark_gray": "8", "blue": "9", "green": "a", "aqua": "b", "red": "c",
         "light_purple": "d", "yellow": "e", "white": "f"}
DECORATIONS = {"b": "bold", "bold": "bold", "i": "italic", "italic": "italic", "em": "italic", "u": "underline",
               "underlined": "underline", "st": "strike", "strikethrough": "strike", "obf": "obfuscated",
               "obfuscated": "obfuscated"}


def tokens_of(message):
    """TokenParser.parseString, lines 150-287: (start, end, kind) with kind text, open, close or openclose."""
    out = []
    state, escaped, current_end, marker, string_char = "normal", False, 0, -1, None
    length = len(message)
    i = 0
    while i < length:
        c = message[i]
        if c == "\u00a7" and i + 1 < length:  # lines 163-178
            nxt = message[i + 1].lower()
            if nxt.isascii() and (nxt.isdigit() or "a" <= nxt <= "f" or nxt == "r" or "k" <= nxt <= "o"):
                raise ValueError("Legacy formatting codes have been detected in a MiniMessage string")
        if not escaped:
            if c == ESCAPE and i + 1 < length:  # lines 185-209
                nxt = message[i + 1]
                if state == "normal":
                    escaped = nxt in (TAG_START, ESCAPE)
                elif state == "string":
                    escaped = nxt in (string_char, ESCAPE)
                elif state == "tag" and nxt == TAG_START:
                    escaped, state = True, "normal"
                if escaped:
                    i += 1
                    continue
        else:
            escaped = False
            i += 1
            continue
        if state == "normal":
            if c == TAG_START:
                marker, state = i, "tag"
        elif state == "tag":
            if c == TAG_END:
                if i == marker + 1:  # <> is no tag
                    state = "normal"
                else:
                    if current_end != marker:
                        out.append((current_end, marker, "text"))
                    current_end = i + 1
                    kind = "open"
                    if marker + 1 < length and message[marker + 1] == CLOSE_TAG:
                        kind = "close"
                    elif marker + 2 < length and message[i - 1] == CLOSE_TAG:
                        kind = "openclose"
                    out.append((marker, current_end, kind))
                    state = "normal"
            elif c == TAG_START:
                marker = i
            elif c in "'\"":
                string_char = c
                if message.find(c, i + 1) != -1:
                    state = "string"
        elif state == "string" and c == string_char:
            state = "tag"
        if i == length - 1 and state == "tag":  # lines 271-277: an unclosed < read again as text
            i, state = marker, "normal"
        i += 1
    end = out[-1][1] if out else 0
    if end != length or not out:
        out.append((end, length, "text"))
    return out


def unescape(text):
    """TokenParser.unescape with TextNode's escapes (< and \\), lines 615-650."""
    return re.sub(r"\\([<\\])", r"\1", text)


def parts_of(inside):
    """The tag's parts split at ':' outside quotes (parseSecondPass, lines 293-381, roughly)."""
    parts, quote = [""], None
    for c in inside:
        if c == quote:
            quote = None
        elif not quote and c in "'\"":
            quote = c
        elif not quote and c == ":":
            parts.append("")
        else:
            parts[-1] += c
    return parts


def colour_of(name):
    if re.fullmatch(r"#[0-9a-fA-F]{6}", name):
        return "#" + name[1:].lower()
    return NAMED[NAMES[name]] if name in NAMES else None


def tag_of(parts):
    """The tag a name resolves to, or None: then the tag is text (lines 404-441)."""
    name = parts[0].lower()
    if not re.fullmatch(r"[!?#]?[a-z0-9_-]+", name):
        return None
    if colour_of(name) and len(parts) == 1:
        return ("colour", colour_of(name))
    if name in ("color", "colour", "c") and len(parts) == 2 and colour_of(parts[1].lower()):
        return ("colour", colour_of(parts[1].lower()))
    if name in DECORATIONS:
        return ("style", DECORATIONS[name])
    if name == "gradient":
        args = parts[1:]
        phase = 0.0
        if args and re.fullmatch(r"-?\d+(\.\d+)?", args[-1]):
            phase = float(args.pop())
        colours = [colour_of(a.lower()) for a in args]
        if None in colours or len(colours) == 1:
            raise ValueError("invalid gradient")
        return ("gradient", (colours or ["#ffffff", "#000000"], phase))
    return {"newline": ("newline", None), "br": ("newline", None), "reset": ("reset", None)}.get(name)


def tree_of(message):
    """TokenParser.buildTree, lines 386-503: nodes are dicts with a tag and children; text is str."""
    root = {"tag": None, "parts": [], "children": [], "parent": None}
    node = root
    for start, end, kind in tokens_of(message):
        raw = message[start:end]
        if kind == "text":
            node["children"].append(unescape(raw))
            continue
        inner = raw[2:-1] if kind == "close" else raw[1:-2] if kind == "openclose" else raw[1:-1]
        parts = parts_of(inner)
        tag = tag_of(parts)
        if tag is None:
            node["children"].append(unescape(raw))
            continue
        if kind == "close":
            parent = node
            while parent is not root and not (parent["parts"][0].lower() == parts[0].lower()
                                              and parent["parts"][1:len(parts)] == parts[1:]):
                parent = parent["parent"]
            if parent is root:
                node["children"].append(unescape(raw))
            else:
                node = parent["parent"]
            continue
        if tag[0] == "reset":
            node = root
            continue
        child = {"tag": tag, "parts": parts, "children": [], "parent": node}
        node["children"].append(child)
        if kind == "open" and tag[0] != "newline":
            node = child
    return root


def lerp(t, a, b):
    """TextColor.lerp, lines 265-278: per channel, Math.round of a float."""
    t = min(1.0, max(0.0, t))
    pa, pb = (int(a[k:k + 2], 16) for k in (1, 3, 5)), (int(b[k:k + 2], 16) for k in (1, 3, 5))
    return "#" + "".join(f"{int(x + t * (y - x) + 0.5) if x + t * (y - x) >= 0 else 0:02x}" for x, y in zip(pa, pb))


def render(node, colour, styles, out):
    """Each code point with the innermost colour and every style around it; a gradient colours each code point
    of its text in turn, skipping none (GradientTag lines 108-133, AbstractColorChangingTag lines 72-139)."""
    for child in node["children"]:
        if isinstance(child, str):
            out.extend((ch, colour, frozenset(styles)) for ch in child)
            continue
        kind, value = child["tag"]
        if kind == "newline":
            out.append(("\n", colour, frozenset(styles)))
        elif kind == "colour":
            render(child, value, styles, out)
        elif kind == "style":
            render(child, colour, styles | {value}, out)
        elif kind == "gradient":
            inner = []
            render(child, None, styles, inner)
            colours, phase = value
            if phase < 0:
                colours, phase = colours[::-1], 1 + phase
            size = len(inner)
            multiplier = 0 if size == 1 else (len(colours) - 1) / (size - 1)
            phase *= len(colours) - 1
            for index, (ch, own, st) in enumerate(inner):
                position = index * multiplier + phase
                low = int(position // 1)
                high = -int(-position // 1) % len(colours)
                shade = lerp(position - low, colours[low % len(colours)], colours[high])
                out.append((ch, own or shade, st))


def read(code):
    if java_legacy.java_chat_refuses(code):
        raise ValueError("the client refuses a section sign or control character in chat")
    out = []
    render(tree_of(code), None, set(), out)
    return out


count = java_legacy.char16s
shown_as = java_legacy.java_chat_shown_as

EXAMPLES = [
    ("a typed legacy code", "\u00a7cX", ["--step", "2"]),
    ("typed tags and escapes", "<b>x</b> \\<red> \\\\ <#ff0000>", []),
    ("an unclosed tag and quotes", "<gradient:'a 'b\" c>", ["--step", "3"]),
    ("styles round the whole code", "bold and struck", ["--bold", "--strike"]),
    ("one gradient tag where per-character codes do not fit", "A sign's line, in <gradient> \\ " * 4, ["--bold"]),
]
