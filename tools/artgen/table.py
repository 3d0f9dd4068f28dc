"""The art table: every bitmap, cursor and icon resource of player and archive.

One row per resource: the programs that carry it, its name, size, role, state, Russian label
and the role's few details (pictogram, where it sits on which background, the layout of a
background). Sizes and positions follow the windows that draw the resources: a button's
`at` is the background it is copied onto and its position there, so that its rounded corners
take the background's own pixels.

State names: normal, pressed, disabled for buttons; active, inactive for title strips.
"""

from dataclasses import dataclass, field

PLAYER, ARCHIVE = "player", "archive"
BOTH = (PLAYER, ARCHIVE)

PRODUCT = "Энциклопедия России"
ARCHIVE_PRODUCT = "Фильмотека"


@dataclass(frozen=True)
class Art:
    programs: tuple
    name: str
    kind: str            # bitmap, cursor, icon
    size: tuple
    role: str
    state: str = "normal"
    label: str = ""
    icon: str = None
    at: tuple = None     # (background name, x, y) the picture is copied onto
    accent: str = None
    layout: tuple = field(default=())


ROWS = []


def row(programs, name, size, role, state="normal", label="", kind="bitmap", **details):
    programs = (programs,) if isinstance(programs, str) else tuple(programs)
    ROWS.append(Art(programs, name, kind, size, role, state, label, **details))


def states(programs, names, size, role, label="", **details):
    """A button's images named (normal, pressed, disabled); a repeated name is one image."""
    seen = set()
    for name, state in zip(names, ("normal", "pressed", "disabled")):
        if name and name not in seen:
            seen.add(name)
            row(programs, name, size, role, state, label, **details)


def strips(programs, active, inactive, width, label, icon="emblem"):
    row(programs, active, (width, 20), "strip", "active", label, icon=icon)
    row(programs, inactive, (width, 20), "strip", "inactive", label, icon=icon)


# Main window: caption strip and its buttons ---------------------------------------------------
strips(PLAYER, "capbaron", "capbarof", 640, PRODUCT)
states(PLAYER, ("closeoff", "closeon"), (16, 16), "capbutton", "Закрыть", icon="cross",
       at=("capbaron", 621, 2))
states(PLAYER, ("minoff", "minon"), (16, 16), "capbutton", "Свернуть", icon="minimise",
       at=("capbaron", 599, 2))

# Toolbar of the article view: "off" normal, "on" pressed, "stop" disabled; a button without
# a "stop" image shows its normal one when disabled.
TOOLBAR = (
    # names                                 size      label            pictogram       x    y
    (("contoff", "conton"),                 (66, 44), "Содержание",    "book",         0,   25),
    (("searchof", "searchon"),              (58, 44), "Поиск",         "magnifier",    70,  25),
    (("resoff", "reson", "resstop"),        (66, 44), "Результаты",    "results",      135, 25),
    (("backoff", "backon", "backstop"),     (44, 44), "Назад",         "back",         220, 25),
    (("wayoff", "wayon", "waystop"),        (58, 44), "Путь",          "footprints",   265, 25),
    (("markoff", "markon"),                 (58, 44), "Закладки",      "bookmark",     330, 25),
    (("katoff", "katon"),                   (58, 44), "Каталог",       "catalogue",    390, 25),
    (("soundoff", "soundon", "soundstp"),   (58, 44), "Звук",          "speaker",      450, 25),
    (("videooff", "videoon", "videostp"),   (58, 44), "Видео",         "film",         520, 25),
    (("mapoff", "mapon", "mapstp"),         (58, 44), "Карта",         "pin",          580, 20),
    (("helpoff", "helpon"),                 (58, 44), "Справка",       "help_mark",    170, 390),
    (("printoff", "printon"),               (58, 44), "Печать",        "printer",      0,   395),
)
for names, size, label, icon, x, y in TOOLBAR:
    states(PLAYER, names, size, "tool", label, icon=icon, at=("article view", x, y))

# Arrows carry no label: what they step through is clear from where they sit.
ARROWS = (
    (("prevoff", "prevon", "prevstop"),     (28, 28), "Предыдущая статья",      "arrow_left",  560, 421),
    (("nextoff", "nexton", "nextstop"),     (28, 28), "Следующая статья",       "arrow_right", 590, 421),
    (("iprevoff", "iprevon", "iprevstp"),   (28, 24), "Предыдущая иллюстрация", "arrow_left",  20,  321),
    (("inextoff", "inexton", "inextstp"),   (28, 24), "Следующая иллюстрация",  "arrow_right", 50,  321),
)
for names, size, label, icon, x, y in ARROWS:
    states(PLAYER, names, size, "arrow", label, icon=icon, at=("article view", x, y))

# Letter bar: one key per row of the letter table, commands 2600 + 10 k in this order.
LETTERS = (("А", "a"), ("Б", "b"), ("В", "v"), ("Г", "g"), ("Д", "d"), ("Е", "e"), ("Ж", "zh"),
           ("З", "z"), ("И", "i"), ("Й", "ii"), ("К", "k"), ("Л", "l"), ("М", "m"), ("Н", "n"),
           ("О", "o"), ("П", "p"), ("Р", "r"), ("С", "s"), ("Т", "t"), ("У", "u"), ("Ф", "f"),
           ("Х", "h"), ("Ц", "c"), ("Ч", "ch"), ("Ш", "sh"), ("Щ", "she"), ("Ы", "y"), ("Э", "ie"),
           ("Ю", "iu"), ("Я", "ja"))
LETTER = (20, 20)
# Where the bar sits is the main window's choice; the positions here are the proposal the
# contact sheet shows: one row between the toolbar and the article area.
for k, (glyph, folder) in enumerate(LETTERS):
    states(PLAYER, (f"let_{folder}_off", f"let_{folder}_on", f"let_{folder}_stop"), LETTER,
           "letter", glyph, at=("article view", 20 + LETTER[0] * k, 72))

# Start screen: "_n" normal, "_r" pressed (the disabled image is the normal one).
START_SCREEN = (
    # names             size        label           pictogram     x    y
    (("ill_n", "ill_r"), (220, 52), "Иллюстрации", "picture",    350, 30),
    (("vid_n", "vid_r"), (220, 52), "Видео",       "film",       390, 110),
    (("map_n", "map_r"), (220, 52), "Карты",       "globe",      360, 180),
    (("son_n", "son_r"), (220, 52), "Аудио",       "speaker",    330, 270),
    (("chr_n", "chr_r"), (220, 52), "Хронология",  "hourglass",  260, 330),
    (("t1_n", "t1_r"),   (220, 52), "Статьи",      "book",       200, 400),
    (("ab_n", "ab_r"),   (120, 26), "О программе", "info",       250, 0),
    (("ex_n", "ex_r"),   (120, 26), "Выход",       "exit_door",  520, 0),
)
for names, size, label, icon, x, y in START_SCREEN:
    states(PLAYER, names, size, "tile", label, icon=icon, at=("start screen", x, y))

# Dialogs of player ----------------------------------------------------------------------------
DIALOG = (530, 320)
BUTTON = (150, 44)


def footer(width):
    return ("ornament", 24, 309, width - 24)


strips(PLAYER, "t_contens", "t1_contens", 610, "Содержание", icon="book")
row(PLAYER, "contens", (610, 320), "background", layout=(
    ("label", "Название статьи", 16, 20),
    ("panel", 16, 41, 266, 199, 3),
    ("label", "Разделы", 295, 20),
    ("panel", 295, 44, 300, 172, 3),
    ("box_right", "Только статьи с иллюстрациями", 403, 229),
    footer(610)))
states(PLAYER, ("c_cr_n", "c_cr_r", "c_cr_d"), BUTTON, "button", "Открыть", icon="open_entry",
       at=("contens", 0, 250))
states(PLAYER, ("c_cl_n", "c_cl_r", "c_cl_d"), BUTTON, "button", "Закрыть", icon="cross",
       accent="red", at=("contens", 430, 251))
states(PLAYER, ("sbr_n", "sbr_r", "sbr_d"), (110, 36), "button", "Сбросить", icon="reset",
       at=("contens", 282, 235))

strips(PLAYER, "t_search", "t1_search", 530, "Поиск", icon="magnifier")
row(PLAYER, "search", DIALOG, "background", layout=(
    ("label", "Что искать", 18, 20),
    ("panel", 18, 41, 493, 22, 4),
    ("box", "Учитывать все формы слова", 495, 88),
    ("rule", 236, 110, 512),
    ("label", "Где искать", 236, 130, "lm"),
    ("box", "В текущей статье", 495, 123),
    ("box", "В статьях из содержания", 495, 151),
    ("box", "Во всей энциклопедии", 495, 179),
    ("ring", "magnifier", 75, 120, 38),
    footer(530)))
states(PLAYER, ("s_find_n", "s_find_r", "s_find_d"), BUTTON, "button", "Найти",
       icon="magnifier", at=("search", 0, 250))
states(PLAYER, ("s_brak_n", "s_brak_r", "s_brak_d"), BUTTON, "button", "Остановить",
       icon="stop", accent="red", at=("search", 0, 180))
states(PLAYER, ("s_cl_n", "s_cl_r", "s_cl_d"), BUTTON, "button", "Закрыть", icon="cross",
       accent="red", at=("search", 370, 251))

strips(PLAYER, "t_result", "t1_result", 530, "Результаты поиска", icon="results")
row(PLAYER, "result", DIALOG, "background", layout=(
    ("label", "Запрос", 18, 20),
    ("panel", 18, 41, 190, 21, 4),
    ("label", "Найдено статей", 120, 94, "rm", 12, "sans"),
    ("panel", 128, 83, 79, 21, 4),
    ("label", "Найденные статьи", 217, 20),
    ("panel", 217, 41, 294, 207, 4),
    ("ring", "results", 90, 170, 36),
    ("note", "F9 сохраняет список в файл", 170, 262, 190, 12, None, "center"),
    footer(530)))
states(PLAYER, ("r_cr_n", "r_cr_r", "r_cr_d"), BUTTON, "button", "Открыть", icon="open_entry",
       at=("result", 0, 250))
states(PLAYER, ("r_cl_n", "r_cl_r", "r_cl_d"), BUTTON, "button", "Закрыть", icon="cross",
       accent="red", at=("result", 370, 251))

strips(PLAYER, "t_way1", "t1_way1", 530, "Путь", icon="footprints")
row(PLAYER, "way1", DIALOG, "background", layout=(
    ("label", "Прочитанные статьи", 217, 20),
    ("panel", 217, 41, 294, 207, 4),
    ("ring", "footprints", 105, 100, 44),
    ("note", "Последняя прочитанная статья стоит в списке первой.", 14, 164, 190, 12, None,
     "center"),
    ("note", "Дважды щёлкните строку, чтобы вернуться к статье.", 14, 200, 190, 12, None,
     "center"),
    footer(530)))
states(PLAYER, ("w_cr_n", "w_cr_r", "w_cr_d"), BUTTON, "button", "Перейти", icon="jump",
       at=("way1", 0, 250))
states(PLAYER, ("w_cl_n", "w_cl_r", "w_cl_d"), BUTTON, "button", "Закрыть", icon="cross",
       accent="red", at=("way1", 370, 251))

strips(PLAYER, "t_b_mark", "t1_b_mark", 530, "Закладки", icon="bookmark")
row(PLAYER, "b_mark", DIALOG, "background", layout=(
    ("label", "Название закладки", 18, 20),
    ("panel", 18, 41, 190, 21, 4),
    ("note", "Введите название и нажмите «Добавить».", 18, 72, 190, 12),
    ("label", "Закладки", 216, 19),
    ("panel", 216, 40, 296, 210, 4),
    footer(530)))
states(PLAYER, ("m_add_n", "m_add_r", "m_add_d"), BUTTON, "button", "Добавить", icon="plus",
       at=("b_mark", 0, 110))
states(PLAYER, ("m_del_n", "m_del_r", "m_del_d"), BUTTON, "button", "Удалить", icon="trash",
       at=("b_mark", 0, 182))
states(PLAYER, ("m_cr_n", "m_cr_r", "m_cr_d"), BUTTON, "button", "Перейти", icon="jump",
       at=("b_mark", 0, 251))
states(PLAYER, ("m_cl_n", "m_cl_r", "m_cl_d"), BUTTON, "button", "Закрыть", icon="cross",
       accent="red", at=("b_mark", 370, 251))

# Galleries: "1"/"_r" pressed, the disabled image is the normal one.
strips(PLAYER, "t_s", "t_s_d", 530, "Иллюстрации", icon="picture")
row(PLAYER, "g_slide", DIALOG, "background", layout=(
    ("label", "Поиск по названию", 204, 26, "rm", 12, "sans"),
    ("panel", 214, 15, 304, 236, 4),
    ("well", 21, 41, 186, 207),
    ("note", "Щёлкните картинку, чтобы её увеличить", 222, 258, 140, 12, None, "center"),
    footer(530)))
states(PLAYER, ("cross_s", "cross_s1"), BUTTON, "button", "Перейти", icon="jump",
       at=("g_slide", 0, 250))
states(PLAYER, ("close_s", "close_s1"), BUTTON, "button", "Закрыть", icon="cross", accent="red",
       at=("g_slide", 370, 251))
states(PLAYER, ("str_1", "str_1_r", "str_1d"), (24, 28), "arrow", "Предыдущая картинка",
       icon="arrow_left", at=("g_slide", 160, 250))
states(PLAYER, ("str_2", "str_2_r", "str_2d"), (24, 28), "arrow", "Следующая картинка",
       icon="arrow_right", at=("g_slide", 190, 250))


def gallery(programs, suffix, title, icon, background, list_box, heading, hint, ring_y=92):
    x, y, w, h = list_box
    strips(programs, f"t_{suffix}", f"t_{suffix}_d", 530, title, icon=icon)
    ring_x = x / 2
    row(programs, background, DIALOG, "background", layout=(
        ("label", heading, x, 16),
        ("panel", x, y, w, h, 4),
        ("ring", icon, ring_x, ring_y, min(44, x / 2 - 12)),
        ("note", hint, 8, ring_y + 58, x - 16, 12, None, "center"),
        footer(530)))
    states(programs, (f"cross_{suffix}", f"cross_{suffix}1"), BUTTON, "button", "Перейти",
           icon="jump", at=(background, 0, 250))
    states(programs, (f"close_{suffix}", f"close_{suffix}1"), BUTTON, "button", "Закрыть",
           icon="cross", accent="red", at=(background, 370, 251))


gallery(PLAYER, "v", "Видео", "film", "g_video", (214, 38, 304, 210), "Фильмы",
        "Дважды щёлкните название, чтобы посмотреть фильм.")
gallery(PLAYER, "m", "Карты", "globe", "g_map", (214, 38, 304, 210), "Карты",
        "Выберите карту и нажмите «Показать».", ring_y=66)
states(PLAYER, ("show", "show_1"), BUTTON, "button", "Показать", icon="pin",
       at=("g_map", 0, 180))
gallery(PLAYER, "a", "Аудио", "speaker", "g_sound", (137, 38, 377, 210), "Записи",
        "Дважды щёлкните название, чтобы послушать.")

# About and timeline windows: 640 x 480 with a 20-pixel strip.
row(PLAYER, "about", (640, 460), "background", layout=(
    ("ring", "emblem", 91, 150, 62),
    ("title", PRODUCT, 400, 22, 30),
    ("subtitle", "О программе", 400, 62),
    ("panel", 182, 98, 436, 276, 6),
    ("note", "Справочное издание на компакт-диске", 20, 394, 300, 13),
    ("ornament", 24, 440, 480)))
states(PLAYER, ("a_cl_n", "a_cl_r"), (112, 44), "button", "Закрыть", icon="cross", accent="red",
       at=("about", 520, 380))

strips(PLAYER, "capon", "capof", 640, "Хронология", icon="hourglass")
row(PLAYER, "timeline", (640, 460), "background", layout=(
    ("well", 21, 3, 598, 416),
    ("title", "Хронология", 21, 438, 18, "lm"),
    ("note", "Щёлкните отмеченное событие, чтобы прочитать статью", 180, 431, 300, 12, None,
     "center"),
    ("label", "Закрыть", 582, 437, "rm"),
))
states(PLAYER, ("t_cl_n", "t_cl_r"), (44, 32), "arrow", "Закрыть", icon="cross",
       at=("timeline", 590, 421))

# Video window and disc prompts (both programs) ------------------------------------------------
# The title, movie and caption fill the middle column from x 50 to 370; the statics paint
# themselves system grey, so the column is that grey and the gaps between them disappear.
VIDEO_LAYOUT = (
    ("filmstrip", 0, 46),
    ("filmstrip", 374, 46),
    ("grey", 46, 0, 328, 330),
)
row(BOTH, "video0", (420, 330), "background", layout=VIDEO_LAYOUT)

row(PLAYER, "instal_1", (250, 150), "prompt", label=PRODUCT,
    layout=("Фильм записан на диске «Видеоархив». Вставьте этот диск и нажмите «Да».",))
row(PLAYER, "instal_2", (250, 150), "prompt", label=PRODUCT,
    layout=("Вставьте в дисковод диск энциклопедии и нажмите «Да».",))
row(PLAYER, "instal_3", (250, 150), "prompt", label=PRODUCT,
    layout=("Этот материал есть только на диске «Видеоархив».",))
row(ARCHIVE, "instal_1", (250, 150), "prompt", label=ARCHIVE_PRODUCT,
    layout=("Вставьте в дисковод диск «Видеоархив» и нажмите «Да».",))
# The prompt dialogs name these images (pressed, normal, disabled) = ("yes_off", "yes_on",
# "yes_on"): "on" is the normal look here, unlike the toolbar.
states(BOTH, ("yes_on", "yes_off"), (50, 30), "button", "Да", at=("instal_2", 40, 105))
states(BOTH, ("no_on", "no_off"), (105, 30), "button", "Отмена", at=("instal_2", 130, 105))

# archive's main window: 610 x 440 with its 20-pixel strip --------------------------------------
strips(ARCHIVE, "t_v", "t_v_d", 610, ARCHIVE_PRODUCT, icon="film")
row(ARCHIVE, "g_video", (610, 420), "background", layout=(
    ("title", ARCHIVE_PRODUCT, 305, 8, 28),
    ("subtitle", "Видеоархив энциклопедии", 305, 46),
    ("label", "Отметьте фильмы и нажмите «Смотреть»", 100, 76),
    ("panel", 100, 100, 410, 208, 4),
    ("label", "Справка", 56, 24, "lm"),
    ("label", "Выход", 546, 24, "lm"),
    ("label", "Отметить все", 56, 344, "lm"),
    ("label", "Сбросить", 336, 354, "lm"),
    ("label", "Смотреть", 512, 354, "rm"),
    ("ornament", 24, 400, 586)))
# The labels of these buttons are painted beside them on the background.
ICON_BUTTON = (48, 48)
states(ARCHIVE, ("help_n", "help_r"), ICON_BUTTON, "pictogram", "Справка", icon="help_mark",
       at=("g_video", 0, 0))
states(ARCHIVE, ("close_v", "close_v1"), ICON_BUTTON, "pictogram", "Выход", icon="exit_door",
       at=("g_video", 490, 0))
states(ARCHIVE, ("select_n", "select_r", "select_d"), ICON_BUTTON, "pictogram", "Отметить все",
       icon="select_all", at=("g_video", 0, 320))
states(ARCHIVE, ("del_n", "del_r", "del_d"), ICON_BUTTON, "pictogram", "Сбросить", icon="reset",
       at=("g_video", 280, 330))
states(ARCHIVE, ("look_n", "look_r"), ICON_BUTTON, "pictogram", "Смотреть", icon="eye",
       at=("g_video", 520, 330))
states(ARCHIVE, ("l_n", "l_r", "l_d"), (40, 28), "arrow", "Предыдущий фильм", icon="arrow_left",
       at=("video0", 0, 300))
states(ARCHIVE, ("r_n", "r_r", "r_d"), (40, 28), "arrow", "Следующий фильм", icon="arrow_right",
       at=("video0", 380, 300))

# Cursors and the icon (both programs) ---------------------------------------------------------
for name, label in (("HAND_T", "Ссылка на статью"), ("HAND_B", "Ссылка-картинка"),
                    ("HAND_U", "Ссылка на фильм или звук"), ("HAND_E", "Кнопка"),
                    ("ZOOM", "Увеличить"), ("ZOOM1", "Уменьшить")):
    row(BOTH, name, (32, 32), "cursor", label=label, kind="cursor")
row(BOTH, "MYICON", (32, 32), "icon", label=PRODUCT, kind="icon")


def for_program(program):
    return [art for art in ROWS if program in art.programs]


# Dialog templates, accelerators and strings ---------------------------------------------------
# The disc prompts are empty pop-ups that size themselves to their 250 x 150 prompt picture.
@dataclass(frozen=True)
class Dialog:
    programs: tuple
    id: int
    size_du: tuple = (127, 68)
    font: tuple = (10, "PragmaticaZKD")
    style: str = "DS_SETFONT | WS_POPUP"


DIALOGS = (
    Dialog((ARCHIVE,), 292),   # archive: insert the video archive disc
    Dialog((PLAYER,), 294),    # player: insert the video archive disc, or the material is there
    Dialog((PLAYER,), 295),    # player: insert the encyclopedia disc (also at start-up)
)

# (table name, key, command, flags): Ctrl+Tab is taken from the article panes so that it does
# not move the focus between them; the main window ignores command 128.
ACCELERATORS = (
    (PLAYER, "MVAppAccelerators", "VK_TAB", 128, "VIRTKEY, CONTROL, NOINVERT"),
)

# The title runtime's error texts, keyed by its error numbers; player hands its instance to
# the runtime, which reads them from there.
ERROR_TEXTS = {
    1015: "Bad EW Class: ",
    1021: "Cannot Access ",
    1022: "Cannot Use ",
    1023: "Cannot Display",
    1026: "Cannot Callback",
    2001: "The search failed.",
    2003: "The search failed due to an out-of-memory error.",
    2004: "The search failed due to an out-of-memory error.",
    2005: "Insufficient disk space to perform search. Delete some files to free disk space "
          "and then try again.",
    2006: "A word in the search query is too long. Search words can have a maximum of 255 "
          "characters.",
    2007: "The index, stopword, word wheel or catalog file is of the wrong type or version.",
    2009: "Too many words in stop-word list. The stop-word list can have a maximum of 1,024 "
          "stop words.",
    2011: "A word in the search query is too long. Search words can have a maximum of 255 "
          "characters.",
    2012: "The search query is too long or too complex.",
    2013: "The search failed due to a disk read error.",
    2015: "An invalid value was passed to a search function.",
    2017: "A group ID number is too large.",
    2018: "Cannot use quotes or NEAR to search this title.",
    2019: "Too many matches. Type a word or phrase that is more specific.",
    2021: "The indexer cannot run in real mode or on a 80286 system.",
    2023: "The search failed. A required file was not found.",
    2026: "The search failed. A disk seek error occurred.",
    2027: "The search failed. Could not create a required file.",
    2028: "The search failed due to a disk-write error.",
    2029: "The search failed. Could not open a required file because too many files are open.",
    2031: "The search failed. Could not open a required file.",
    2032: "The character-table file is improperly formatted.",
    2200: "The query is empty or has no searchable words. You cannot search for words marked as "
          "stop words (for example, \"the\", \"that\", or \"a\").",
    2201: "The query or a subexpression within parentheses begins or ends with an operator.",
    2203: "The query is missing a quotation mark.",
    2204: "The query is missing a left parenthesis.",
    2205: "The query is missing a right parenthesis.",
    2206: "The query is too complex. Do not nest parentheses more than five levels deep.",
    2207: "The query has too many terms.",
    2208: "The query contains an improperly formatted data-type value.",
    2209: "The query contains an improper data value (for example, an invalid date or "
          "out-of-range number).",
    2210: "The operands to the THRU operator are of different data-types.",
    2211: "Word breaker function table not specified.",
    2212: "A subexpression was used as an operand to the THRU operator. The THRU operator "
          "supports only simple terms as operands.",
    2213: "The query contains a word consisting only of combination of wildcard characters "
          "(* and ?).",
    2215: "The query uses a wildcard (*) within a term marked as non-text data. The wildcard can "
          "only be used within text.",
}
STRING_PROGRAMS = (PLAYER,)
