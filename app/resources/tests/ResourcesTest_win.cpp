// Loads every generated resource from the test's own module, as the programs load them from
// theirs: bitmaps, cursors and the icon by name, the accelerator table, the disc prompt
// templates and the title runtime's error texts. Built once with player's resources and once
// with archive's (KRO_ARCHIVE_ART).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <span>
#include <string>

#include "art_manifest.h"

namespace {

using kro::art::ArtEntry;

#ifdef KRO_ARCHIVE_ART
constexpr std::span<const ArtEntry> kArt{kro::art::kArchiveArt};
#else
constexpr std::span<const ArtEntry> kArt{kro::art::kPlayerArt};
#endif

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

struct Size {
    const char* name;
    int width;
    int height;
};

SIZE BitmapSize(const char* name) {
    HBITMAP bitmap = LoadBitmapA(Self(), name);
    if (!bitmap) return {0, 0};
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    return {info.bmWidth, info.bmHeight};
}

// The icon or cursor's size and hotspot, from its masks.
struct IconShape {
    bool isIcon;
    int width;
    int height;
    DWORD hotspotX;
    DWORD hotspotY;
};

IconShape ShapeOf(HICON icon) {
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    // A colour icon's mask holds the AND bits only; a monochrome one stacks AND over XOR.
    IconShape shape{info.fIcon != FALSE, mask.bmWidth,
                    info.hbmColor ? mask.bmHeight : mask.bmHeight / 2, info.xHotspot,
                    info.yHotspot};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return shape;
}

TEST(Resources, EveryBitmapLoadsInTheSizeOfTheArtTable) {
    int bitmaps = 0;
    for (const ArtEntry& art : kArt) {
        if (art.kind != 2) continue;
        ++bitmaps;
        SIZE size = BitmapSize(art.name);
        EXPECT_EQ(size.cx, art.width) << art.name;
        EXPECT_EQ(size.cy, art.height) << art.name;
    }
    EXPECT_GT(bitmaps, 20);
}

TEST(Resources, CursorsLoadWithTheirHotspots) {
    int cursors = 0;
    for (const ArtEntry& art : kArt) {
        if (art.kind != 1) continue;
        ++cursors;
        HCURSOR cursor = LoadCursorA(Self(), art.name);
        ASSERT_NE(cursor, nullptr) << art.name;
        IconShape shape = ShapeOf(cursor);
        EXPECT_FALSE(shape.isIcon) << art.name;
        EXPECT_EQ(shape.width, art.width) << art.name;
        EXPECT_EQ(shape.height, art.height) << art.name;
        EXPECT_EQ(static_cast<int>(shape.hotspotX), art.hotspotX) << art.name;
        EXPECT_EQ(static_cast<int>(shape.hotspotY), art.hotspotY) << art.name;
        DestroyCursor(cursor);
    }
    EXPECT_EQ(cursors, 6);
    for (const char* name : {"HAND_T", "HAND_B", "HAND_U", "HAND_E", "ZOOM", "ZOOM1"}) {
        HCURSOR cursor = LoadCursorA(Self(), name);
        EXPECT_NE(cursor, nullptr) << name;
        if (cursor) DestroyCursor(cursor);
    }
}

TEST(Resources, ProgramIconLoadsUnderEitherSpelling) {
    for (const char* name : {"myicon", "MYICON"}) {
        HICON icon = LoadIconA(Self(), name);
        ASSERT_NE(icon, nullptr) << name;
        IconShape shape = ShapeOf(icon);
        EXPECT_TRUE(shape.isIcon);
        EXPECT_EQ(shape.width, GetSystemMetrics(SM_CXICON));
    }
    HICON small = static_cast<HICON>(LoadImageA(Self(), "MYICON", IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(ShapeOf(small).width, 16);
    DestroyIcon(small);
}

// Sizes the windows fix, independent of the art table.
TEST(Resources, PicturesFitTheWindowsThatDrawThem) {
#ifdef KRO_ARCHIVE_ART
    const Size fixed[] = {
        {"t_v", 610, 20}, {"t_v_d", 610, 20}, {"g_video", 610, 420}, {"video0", 420, 330},
        {"instal_1", 250, 150}, {"yes_on", 50, 30}, {"yes_off", 50, 30}, {"no_on", 105, 30},
        {"no_off", 105, 30},
    };
    // Previous and next sit in the video window's bottom corners, at x 0 and 380.
    EXPECT_LE(BitmapSize("l_n").cx, 380);
    EXPECT_LE(380 + BitmapSize("r_n").cx, 420);
    EXPECT_LE(300 + BitmapSize("r_n").cy, 330);
#else
    const Size fixed[] = {
        {"capbaron", 640, 20}, {"capbarof", 640, 20}, {"capon", 640, 20}, {"capof", 640, 20},
        {"about", 640, 460}, {"timeline", 640, 460}, {"video0", 420, 330},
        {"instal_1", 250, 150}, {"instal_2", 250, 150}, {"instal_3", 250, 150},
        {"yes_on", 50, 30}, {"yes_off", 50, 30}, {"no_on", 105, 30}, {"no_off", 105, 30},
        {"t_contens", 610, 20}, {"t1_contens", 610, 20}, {"contens", 610, 320},
        {"t_search", 530, 20}, {"t1_search", 530, 20}, {"search", 530, 320},
        {"t_result", 530, 20}, {"t1_result", 530, 20}, {"result", 530, 320},
        {"t_way1", 530, 20}, {"t1_way1", 530, 20}, {"way1", 530, 320},
        {"t_b_mark", 530, 20}, {"t1_b_mark", 530, 20}, {"b_mark", 530, 320},
        {"t_s", 530, 20}, {"t_s_d", 530, 20}, {"g_slide", 530, 320},
        {"t_v", 530, 20}, {"t_v_d", 530, 20}, {"g_video", 530, 320},
        {"t_m", 530, 20}, {"t_m_d", 530, 20}, {"g_map", 530, 320},
        {"t_a", 530, 20}, {"t_a_d", 530, 20}, {"g_sound", 530, 320},
    };
    // The caption buttons are hit-tested at x 621 and 599 inside the 20-pixel strip.
    SIZE close = BitmapSize("closeon");
    SIZE minimise = BitmapSize("minon");
    EXPECT_GT(close.cx, 0);
    EXPECT_LE(621 + close.cx, 640);
    EXPECT_LE(599 + minimise.cx, 621);
    EXPECT_LE(close.cy, 20);
    EXPECT_EQ(BitmapSize("closeoff").cy, close.cy);
    // Dialog buttons end inside their 530-pixel dialogs (610 for the contents).
    EXPECT_LE(370 + BitmapSize("s_cl_n").cx, 530);
    EXPECT_LE(430 + BitmapSize("c_cl_n").cx, 610);
    EXPECT_LE(BitmapSize("cross_s").cx, 160);  // the picture arrows follow at x 160
#endif
    for (const Size& want : fixed) {
        SIZE size = BitmapSize(want.name);
        EXPECT_EQ(size.cx, want.width) << want.name;
        EXPECT_EQ(size.cy, want.height) << want.name;
    }
}

#ifndef KRO_ARCHIVE_ART
TEST(Resources, LetterBarHasThreeImagesPerLetter) {
    const char* folders[] = {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "ii",
                             "k", "l", "m", "n", "o", "p", "r", "s", "t", "u",
                             "f", "h", "c", "ch", "sh", "she", "y", "ie", "iu", "ja"};
    for (const char* folder : folders) {
        for (const char* state : {"off", "on", "stop"}) {
            std::string name = std::string("let_") + folder + "_" + state;
            SIZE size = BitmapSize(name.c_str());
            EXPECT_GT(size.cx, 0) << name;
            EXPECT_LE(30 * size.cx, 640) << name;  // the whole bar fits the main window
        }
    }
}

TEST(Resources, AcceleratorTableMapsCtrlTabToCommand128) {
    HACCEL table = LoadAcceleratorsA(Self(), "MVAppAccelerators");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 1);
    ACCEL entry{};
    CopyAcceleratorTableA(table, &entry, 1);
    EXPECT_EQ(entry.fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL);
    EXPECT_EQ(entry.key, VK_TAB);
    EXPECT_EQ(entry.cmd, 128);
    DestroyAcceleratorTable(table);
}

TEST(Resources, ErrorTextsAreKeyedByTheRuntimeErrorNumbers) {
    const UINT ids[] = {1015, 1021, 1022, 1023, 1026, 2001, 2003, 2004, 2005, 2006, 2007,
                        2009, 2011, 2012, 2013, 2015, 2017, 2018, 2019, 2021, 2023, 2026,
                        2027, 2028, 2029, 2031, 2032, 2200, 2201, 2203, 2204, 2205, 2206,
                        2207, 2208, 2209, 2210, 2211, 2212, 2213, 2215};
    char text[512];
    for (UINT id : ids) EXPECT_GT(LoadStringA(Self(), id, text, sizeof text), 0) << id;
    EXPECT_EQ(LoadStringA(Self(), 2002, text, sizeof text), 0);
    // Trailing blanks survive: the runtime appends the object's name.
    LoadStringA(Self(), 1015, text, sizeof text);
    EXPECT_STREQ(text, "Bad EW Class: ");
    LoadStringA(Self(), 2200, text, sizeof text);
    EXPECT_NE(std::strstr(text, "(for example, \"the\", \"that\", or \"a\")."), nullptr) << text;
    char other[512];
    LoadStringA(Self(), 2003, text, sizeof text);
    LoadStringA(Self(), 2004, other, sizeof other);
    EXPECT_STREQ(text, other);
}
#endif

// The template as stored: DLGTEMPLATE, then menu, class and title (each 0 here), then the
// font's point size and face for DS_SETFONT.
void ExpectEmptyPopupTemplate(int id) {
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    ASSERT_NE(found, nullptr) << id;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Self(), found)));
    DLGTEMPLATE head;
    std::memcpy(&head, bytes, sizeof head);
    EXPECT_TRUE(head.style & WS_POPUP) << id;
    EXPECT_TRUE(head.style & DS_SETFONT) << id;
    EXPECT_FALSE(head.style & WS_CAPTION) << id;
    EXPECT_EQ(head.cdit, 0) << id;
    EXPECT_EQ(head.cx, 127) << id;
    EXPECT_EQ(head.cy, 68) << id;
    const auto* words = reinterpret_cast<const WORD*>(bytes + 18);
    EXPECT_EQ(words[0], 0);  // no menu
    EXPECT_EQ(words[1], 0);  // default class
    EXPECT_EQ(words[2], 0);  // no title
    EXPECT_EQ(words[3], 10);
    std::wstring face(reinterpret_cast<const wchar_t*>(words + 4));
    EXPECT_EQ(face, L"PragmaticaZKD");
}

INT_PTR CALLBACK QuietProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

TEST(Resources, DiscPromptTemplatesAreEmptyPopups) {
#ifdef KRO_ARCHIVE_ART
    const int ids[] = {292};
#else
    const int ids[] = {294, 295};
#endif
    for (int id : ids) {
        ExpectEmptyPopupTemplate(id);
        // The system accepts the template even without the product's font installed.
        HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(id), nullptr, QuietProcedure, 0);
        EXPECT_NE(dialog, nullptr) << id;
        if (dialog) DestroyWindow(dialog);
    }
}

}  // namespace
