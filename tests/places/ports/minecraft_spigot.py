"""Minecraft Java chat with section-sign codes, read as Spigot and BungeeCord read them."""
from ports import java_legacy

SOURCE = ("BungeeCord (SpigotMC/BungeeCord), chat/src/main/java/net/md_5/bungee/api/chat/TextComponent.java "
          "lines 93-206 (fromLegacyText); ChatColor.java lines 39-123, 244-274; 256 UTF-16 units: "
          "protocol/src/main/java/net/md_5/bungee/protocol/packet/ClientChat.java line 33, "
          "protocol/src/main/java/net/md_5/bungee/protocol/DefinedPacket.java lines 142-158")


read = java_legacy.read_legacy
count = java_legacy.char16s


def shown_as(typed):
    # Every section sign takes the character after it for a code (TextComponent.java lines 102-137).
    return typed.replace("\u00a7", "\ufffd")


EXAMPLES = [
    ("a typed section sign", "a\u00a7b", []),
    ("a typed section code and hex", "\u00a7x\u00a7c\u00a7l x", ["--step", "2"]),
    ("styles after every code", "bold, tilted", ["--bold", "--italic", "--step", "3"]),
    ("emoji and flags", "\U0001F468\u200d\U0001F469\u200d\U0001F467\U0001F1E8\U0001F1F3e\u0301", []),
]
