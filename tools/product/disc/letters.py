"""The letter table: which folder and letter index an article title files under."""

# Capital letter -> letter folder, in the order of the letter bar (index 9 onwards).
FOLDERS = [
    ("А", "a"), ("Б", "b"), ("В", "v"), ("Г", "g"), ("Д", "d"), ("Е", "e"), ("Ж", "zh"),
    ("З", "z"), ("И", "i"), ("Й", "ii"), ("К", "k"), ("Л", "l"), ("М", "m"), ("Н", "n"),
    ("О", "o"), ("П", "p"), ("Р", "r"), ("С", "s"), ("Т", "t"), ("У", "u"), ("Ф", "f"),
    ("Х", "h"), ("Ц", "c"), ("Ч", "ch"), ("Ш", "sh"), ("Щ", "she"), ("Ы", "y"), ("Э", "ie"),
    ("Ю", "iu"), ("Я", "ja"),
]
_BY_LETTER = dict(FOLDERS)
_BY_LETTER.update({"Ъ": "y", "Ь": "y", "Ё": "e"})
ALL_FOLDERS = [folder for _, folder in FOLDERS]
LETTER_OF_FOLDER = {folder: letter for letter, folder in FOLDERS}


def folder_of_title(title):
    """The folder of the first Cyrillic letter of a title, or None (the reader keeps the old one)."""
    for ch in title:
        up = ch.upper()
        if up in _BY_LETTER:
            return _BY_LETTER[up]
        if "А" <= up <= "Я":
            return None
    return None


def folder_of_picture(name):
    """The picture folder the illustrations gallery derives from a picture name (no extension).

    Portraits are 'p' + folder + '_' ...; pictures are folder + '_' ...; 'ya'/'yu' stand for the
    folders 'ja'/'iu'.
    """
    def run(s):
        out = ""
        for ch in s:
            if ch == "_" or ch.isdigit():
                break
            out += ch
        return out

    if len(name) > 1 and name[0] == "p" and name[1] != "_":
        folder = run(name[1:]) or "p"
    else:
        folder = run(name)
    folder = folder[:9]
    if folder.startswith("ya"):
        folder = "j" + folder[1:]
    elif folder.startswith("yu"):
        folder = "i" + folder[1:]
    return folder


def is_portrait_name(name):
    """Mirrors the gallery: 'p' followed by an ASCII character above '9' other than '_'."""
    return len(name) > 1 and name[0] == "p" and "9" < name[1] < "\x80" and name[1] != "_"
