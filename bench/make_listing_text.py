#!/usr/bin/env python3
"""Writes a large flattened listing text for timing `larkspan capture --from-text`.

The blocks are those of the sample directory's three result pages, flattened by the real
engine (`larkspan capture --flattened-dir`), repeated in page order until the text holds the
asked number of blocks: by default 19,000 blocks of about 1.4 KB (26 MB), 15,000-odd of them
accepted, as the texts of real result pages are. The text starts with "+-", as a flattened page
does, and every block follows its "§".

Run from the source root after a build:
    python3 bench/make_listing_text.py build/app/larkspan /tmp/listings.txt [--blocks N]
"""

import argparse
import subprocess
import sys
import tempfile
from pathlib import Path

SAMPLE = Path(__file__).resolve().parent.parent / "samples" / "directory" / "page1.html"


def sample_blocks(larkspan):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(
            [larkspan, "capture", str(SAMPLE), "--flattened-dir", folder],
            check=True,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        blocks = []
        for page in sorted(Path(folder).glob("page*.txt")):
            text = page.read_text(encoding="utf-8")
            blocks += text.split("\u00a7")[1:]  # the piece before the first one is no listing
        return blocks


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("larkspan", help="the larkspan program")
    parser.add_argument("output", help="where to write the text (UTF-8)")
    parser.add_argument("--blocks", type=int, default=19000, help="number of blocks")
    args = parser.parse_args()

    blocks = sample_blocks(args.larkspan)
    if not blocks:
        sys.exit("make_listing_text: the sample pages gave no blocks")
    with open(args.output, "w", encoding="utf-8", newline="") as out:
        out.write("+-")
        for i in range(args.blocks):
            out.write("\u00a7")
            out.write(blocks[i % len(blocks)])


if __name__ == "__main__":
    main()
