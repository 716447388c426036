"""Discuz! X3.5 on a GBK site: the browser posts the form in GBK, a character GBK lacks as "&#N;"."""
from ports import discuz

SOURCE = ("As discuz (" + discuz.SOURCE + "); the browser's gbk encoder (WHATWG Encoding Standard, "
          "section 10.2.2: U+20AC as 0x80, U+E5E5 refused, others by index gb18030, two bytes) and the form "
          "submission's \"&#N;\" for a character it refuses; Python's gb18030 codec for the index")

LIMIT = 10000


def encoded(ch):
    c = ord(ch)
    if c < 0x80:
        return ch.encode()
    if c == 0x20AC:
        return b"\x80"
    two = ch.encode("gb18030", errors="ignore") if c != 0xE5E5 else b""
    return two if len(two) == 2 else f"&#{c};".encode()


def on_the_wire(code):
    """The message as the site receives it, back in characters: a refused character as its reference."""
    return "".join(f"&#{ord(ch)};" if encoded(ch).startswith(b"&#") else ch for ch in code)


def count(code):
    return sum(len(encoded(ch)) for ch in discuz.posted(code))


# dhtmlspecialchars keeps the "&" of "&#N;" as text, so the reference shows, not the character.
shown_as = on_the_wire


def read(code):
    if count(code) > LIMIT:
        raise ValueError(f"{count(code)} bytes, over maxpostsize {LIMIT}")
    return discuz.show(discuz.discuzcode(on_the_wire(code)))


EXAMPLES = [
    ("CJK at two bytes", "渐" * 600, ["--size=", "--font="]),
    ("outside GBK", "a😀b€\ue5e5", []),
]
