"""What the ports share: line breaks as a browser posts them, and characters painted by the tags open around them."""
import re

PHP_TRIM = " \t\n\r\0\x0b"  # PHP's trim()


def lf(code):
    return code.replace("\r\n", "\n").replace("\r", "\n")


def crlf(code):
    """A textarea posts every line break as CR LF."""
    return re.sub(r"\r\n|\r|\n", "\r\n", code)


def paint(text, open_tags):
    """Each character under the open tags, (name, colour, style) outermost first: the innermost colour shows,
    every style does."""
    colour = next((c for _, c, _ in reversed(open_tags) if c is not None), None)
    styles = frozenset(s for _, _, s in open_tags if s)
    return [(ch, colour or None, styles) for ch in text]


def close(open_tags, name):
    """An end tag closes its start tag and those opened after it; with none open it is text (False)."""
    at = next((i for i in range(len(open_tags) - 1, -1, -1) if open_tags[i][0] == name), None)
    if at is not None:
        del open_tags[at:]
    return at is not None
