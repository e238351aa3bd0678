#!/usr/bin/python3
"""Pages of words that are all different: the vocabulary, not the text,
is what grows. N distinct words of 6 to 12 lowercase letters, 12 to a line,
in korvel's text-to-page frame.

    indexer/bench/distinct_words.py OUT_DIR WORDS [WORDS_PER_PAGE]

Without WORDS_PER_PAGE all words go into one page.
"""
import os
import random
import sys


def main():
    out, words = sys.argv[1], int(sys.argv[2])
    per_page = int(sys.argv[3]) if len(sys.argv) > 3 else words
    os.makedirs(out, exist_ok=True)
    rng = random.Random(1)
    seen = set()
    letters = "abcdefghijklmnopqrstuvwxyz"
    page, page_words, lines, line = 0, 0, [], []

    def flush():
        nonlocal page, page_words, lines
        if line:
            lines.append(" ".join(line))
            line.clear()
        with open(os.path.join(out, "p%05d.htm" % page), "w") as f:
            f.write("<html><head><meta charset=\"utf-8\"><title>p%d</title></head><body><pre>\n" % page)
            f.write("\n".join(lines))
            f.write("\n</pre></body></html>\n")
        page, page_words, lines = page + 1, 0, []

    while len(seen) < words:
        w = "".join(rng.choice(letters) for _ in range(rng.randint(6, 12)))
        if w in seen:
            continue
        seen.add(w)
        line.append(w)
        page_words += 1
        if len(line) == 12:
            lines.append(" ".join(line))
            line.clear()
        if page_words == per_page:
            flush()
    if page_words or line:
        flush()


if __name__ == "__main__":
    main()
