"""Text files the programs read as Windows-1251 with CR LF line ends."""
import pathlib


class EncodingError(ValueError):
    pass


def encode(text, where=""):
    try:
        return text.encode("cp1251")
    except UnicodeEncodeError as e:
        bad = text[e.start:e.end]
        raise EncodingError(f"{where}: '{bad}' (U+{ord(bad[0]):04X}) has no Windows-1251 code") from None


def write_lines(path, lines, where="", trailing_nul=False):
    """Writes lines as cp1251 + CR LF, through a temporary file renamed into place."""
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    data = b"".join(encode(line, where or str(path)) + b"\r\n" for line in lines)
    if trailing_nul:
        data += b"\0"
    tmp = path.with_name(path.name + ".tmp")
    tmp.write_bytes(data)
    tmp.replace(path)


def sort_key(title):
    """Russian dictionary order of a title: case folded, Ё filed with Е."""
    return title.upper().replace("Ё", "Е").encode("cp1251", "replace")
