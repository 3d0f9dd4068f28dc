#!/usr/bin/env python3
"""Writes the authoring folder of the finder tests' title and their category list in cp1251:
   make_fixture.py FOLDER CONTENT1_SOURCE CONTENT1_OUT

2003 numbered articles sort between "Абрикос" (first) and "Яблоко" (last). The word
"всеобщий" is in articles 0..2000 (2001 of them), "двухтысячный" in 0..1999 (2000), so the
results list meets its 2000 limit from both sides. Categories overlap: article 7 is in six
of them, more than the filter's five levels. "Волга" is found only at the end of a long
article, below its first screen. Every even article is illustrated (list 107).
"""
import os
import sys

COUNT = 2003
CATEGORIES = {
    "4": range(0, 10),
    "5": range(5, 15),
    "6": [7, 20, 21],
    "7": [7, 22],
    "18": [7, 23],
    "19": [7, 24],
    "24": [7],
}


def article_lists(i):
    names = [name for name, members in CATEGORIES.items() if i in members]
    if i % 2 == 0:
        names.append("107")
    return names


def write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def article(folder, context, title, body, lists):
    front = f"---\ncontext: {context}\ntitle: {title}\n"
    if lists:
        front += "lists: " + ", ".join(lists) + "\n"
    write(os.path.join(folder, "articles", context + ".md"), front + f"---\n# {title}\n\n{body}\n")


def main():
    folder = sys.argv[1]
    os.makedirs(os.path.join(folder, "articles"), exist_ok=True)
    manifest = "contents: topic_first\n"
    for name in list(CATEGORIES) + ["107"]:
        manifest += f"list {name}: Раздел {name}\n"
    write(os.path.join(folder, "manifest.txt"), manifest)
    for i in range(COUNT):
        words = []
        if i <= 2000:
            words.append("всеобщий")
        if i < 2000:
            words.append("двухтысячный")
        body = f"Статья номер {i}: " + " ".join(words) + " текст."
        article(folder, f"topic_{i:04d}", f"Статья {i:04d}", body, article_lists(i))
    filler = "\n\n".join(f"Абзац {n} о природе и людях без искомого слова." for n in range(60))
    article(folder, "topic_first", "Абрикос", "Первая статья содержания.", ["107"])
    article(folder, "topic_last", "Яблоко", filler + "\n\nВ конце статьи упомянута река Волга.", [])
    with open(sys.argv[2], encoding="utf-8") as source:
        lines = source.read().rstrip("\n").split("\n")
    os.makedirs(os.path.dirname(sys.argv[3]), exist_ok=True)
    with open(sys.argv[3], "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("cp1251"))


if __name__ == "__main__":
    main()
