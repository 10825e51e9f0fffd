#!/usr/bin/env python3
"""The README's pictures: screenshots the test suites render, copied into
docs/images/ and compressed (the suites save theirs uncompressed, for speed).

  doc-images.py update SHOTS DOCS   copy the pictures from SHOTS into DOCS
  doc-images.py check SHOTS DOCS    every picture is in DOCS, as wide and as
                                    high as the suites render it now

The check compares sizes only, so fonts and art may change without new
pictures; a view whose size changes asks for them (tools/update-screenshots.sh).
"""
import struct
import sys
import zlib
from pathlib import Path

# docs/images name <- the screenshot a test suite writes into build/screenshots
PICTURES = [
    ("room-plan.png", "roomplan-1024x768.png"),
    ("rack-view.png", "rackview-open-UC01-1024x768.png"),
    ("shelf-view.png", "shelfview-UC01-1024x768.png"),
    ("ring-mis.png", "ring-mis-1024x768.png"),
    ("editor-small-change.png", "editor-small-change.png"),
    ("editor-major-change.png", "editor-major-change.png"),
    ("editor-ring-change.png", "editor-ring-change.png"),
    ("export-dialog.png", "export-dialog.png"),
    ("find-bar.png", "find-1024x768.png"),
]

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunks(data):
    if not data.startswith(SIGNATURE):
        raise ValueError("not a PNG file")
    at = len(SIGNATURE)
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def size(path):
    for kind, body in chunks(path.read_bytes()):
        if kind == b"IHDR":
            return struct.unpack(">II", body[:8])
    raise ValueError(f"{path}: no IHDR chunk")


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def compressed(data):
    """The same picture with its pixel data compressed as tightly as zlib can."""
    out, pixels, written = [SIGNATURE], b"", False
    for kind, body in chunks(data):
        if kind == b"IDAT":
            pixels += body
            continue
        if pixels and not written:
            out.append(chunk(b"IDAT", zlib.compress(zlib.decompress(pixels), 9)))
            written = True
        if kind != b"tEXt":
            out.append(chunk(kind, body))
    return b"".join(out)


def main(argv):
    if len(argv) != 4 or argv[1] not in ("update", "check"):
        sys.exit(__doc__)
    shots, docs = Path(argv[2]), Path(argv[3])
    failed = False
    for name, shot in PICTURES:
        source, target = shots / shot, docs / name
        if not source.is_file():
            print(f"{source}: not rendered; run the test suites first")
            failed = True
        elif argv[1] == "update":
            docs.mkdir(parents=True, exist_ok=True)
            target.write_bytes(compressed(source.read_bytes()))
            print(f"{target}: {target.stat().st_size // 1024} KB")
        elif not target.is_file():
            print(f"{target}: missing; run tools/update-screenshots.sh")
            failed = True
        elif size(target) != size(source):
            print(f"{target}: {'x'.join(map(str, size(target)))}, the program now renders "
                  f"{'x'.join(map(str, size(source)))}; run tools/update-screenshots.sh")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
