#pragma once
// The title runtime, MVCL14N.DLL: the calls the programs make on titles, addresses, word
// wheels, topic lists, baggage files and full-text search.
//
// Calling convention: every call is WINAPI (__stdcall) and is exported under its plain
// name, without a leading underscore or an @N suffix. Programs link the import library
// (libMVCL14N.dll.a) or look a call up with GetProcAddress by that name and call it
// through a WINAPI pointer; both reach the same code. On x86_64 there is one convention.
//
// Addresses are 32-bit: a logical address ("addr") is a topic number; a view address
// ("va") is what displays take. -1 means none everywhere. Error words ("err") are the
// caller's 32-bit values: a call that fails stores an MVERR_ code there, a call that
// succeeds leaves it alone, so a caller that sets it to 0 can check a series of calls
// once. A call with an error word that fails inside the runtime for no fault of its
// arguments stores MVERR_OUT_OF_MEMORY when memory ran out, MVERR_FAILED otherwise.
//
// Handles are numbers that name the runtime's objects, typed as pointers but never
// addresses: a closed handle, or one of another kind, is refused (MVERR_INVALID where the
// call has an error word), even after a new object of the kind has been made.
//
// Results returned as HGLOBAL (hMVGetName, hMVGetData, hMVBaggageGetFile) are movable
// global blocks holding NUL-terminated bytes; the caller frees them with GlobalFree.
#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef KRO_MVCL_BUILD
#define MVAPI __declspec(dllexport)
#else
#define MVAPI __declspec(dllimport)
#endif

typedef struct MvTitle_* HMVTITLE;
typedef struct MvDisplay_* LPMV;
typedef struct MvWordWheel_* HMVWORDWHEEL;
typedef struct MvTopicList_* HMVTOPICLIST;
typedef struct MvBaggage_* HMVBAGGAGE;

// Called during long operations; a non-zero answer stops the operation.
typedef LONG(CALLBACK* MVPUMPPROC)(void);

#define MVERR_NO_REGION 1023       // the topic has no such region (the address is set)
#define MVERR_FAILED 2001          // an unexpected failure inside the runtime
#define MVERR_OUT_OF_MEMORY 2003
#define MVERR_TITLE_VERSION 2008   // a title of a major version this runtime does not read
#define MVERR_READ 2013            // damaged data inside the title, or a file that is no title
#define MVERR_INVALID 2015         // a bad handle, address or argument
#define MVERR_NOT_FOUND 2023       // no such baggage file; a title file that cannot be opened
#define MVERR_SEEK 2026            // a seek outside the baggage file

#define MV_INFO_TOPIC_TITLE 102    // lMVTitleGetInfo: the title of topic `param`
#define MV_TOPIC_TITLE_BYTES 256   // titles hold at most 255 bytes and a NUL

#define MV_LIST_INTERSECTION 0
#define MV_LIST_UNION 1
#define MV_LIST_DIFFERENCE 2

#define MV_REGION_HEADING 0        // the non-scrolling region
#define MV_REGION_BODY 1           // the scrolling region

// Run.
MVAPI void WINAPI MVSetInstance(HINSTANCE instance);
// Releases every handle still open.
MVAPI void WINAPI MVTerminate(HINSTANCE instance);

// Titles. hMVTitleOpenEx calls `pump` while it opens and gives up when it answers non-zero.
// It answers 0 on failure, with *err (when given) MVERR_NOT_FOUND for a file that cannot
// be opened, MVERR_READ for one that is no title or is damaged, MVERR_TITLE_VERSION,
// MVERR_SEARCH_STOPPED when the pump stopped it, MVERR_OUT_OF_MEMORY, or MVERR_INVALID
// without a path.
MVAPI HMVTITLE WINAPI hMVTitleOpenEx(LPCSTR path, MVPUMPPROC pump, LPLONG err);
MVAPI void WINAPI MVTitleClose(HMVTITLE title);
// MV_INFO_TOPIC_TITLE: copies the title of topic number `param` into `buffer`, which
// holds MV_TOPIC_TITLE_BYTES; answers its length, or -1 (buffer emptied) when none.
MVAPI LONG WINAPI lMVTitleGetInfo(HMVTITLE title, UINT info, LONG param, LPSTR buffer);
MVAPI LONG WINAPI vaMVGetContents(HMVTITLE title);

// Address conversions; each answers -1 for anything that names no topic.
MVAPI LONG WINAPI vaMVConvertContextString(HMVTITLE title, LPCSTR context);
MVAPI LONG WINAPI addrMVConvertContextString(HMVTITLE title, LPCSTR context);
MVAPI LONG WINAPI vaMVConvertAddr(HMVTITLE title, LONG addr);
MVAPI LONG WINAPI vaMVConvertHash(HMVTITLE title, DWORD hash);
MVAPI LONG WINAPI vaMVConvertTopicNumber(HMVTITLE title, LONG topicNumber);

// Displays: the topic and region a pane shows. fMVSetAddress sets the topic even when
// it lacks the region asked for, and then answers FALSE with MVERR_NO_REGION.
MVAPI LPMV WINAPI lpMVNew(HMVTITLE title, LPLONG err);
MVAPI LPMV WINAPI lpMVDuplicate(LPMV display, LPLONG err);
MVAPI void WINAPI MVDelete(LPMV display);
MVAPI HMVTITLE WINAPI hMVGetTitle(LPMV display, LONG reserved);
MVAPI BOOL WINAPI fMVSetTitle(LPMV display, HMVTITLE title, LONG reserved, LPLONG err);
MVAPI BOOL WINAPI fMVSetAddress(LPMV display, LONG va, UINT region, LONG scrollPos, LPLONG err);
MVAPI void WINAPI MVGetAddress(LPMV display, LPLONG va, LPLONG region, LPLONG scrollPos);
MVAPI LONG WINAPI lMVTopicNumber(LPMV display);
MVAPI HGLOBAL WINAPI hMVGetName(LPMV display);
MVAPI HGLOBAL WINAPI hMVGetData(LPMV display);
MVAPI LONG WINAPI addrMVGetPrev(LPMV display);
MVAPI LONG WINAPI addrMVGetNext(LPMV display);
MVAPI BOOL WINAPI fMVHasSR(LPMV display);
MVAPI BOOL WINAPI fMVHasNSR(LPMV display);

// Word wheels and key indexes.
MVAPI HMVWORDWHEEL WINAPI hMVWordWheelOpenTitle(HMVTITLE title, LPCSTR name);
MVAPI LONG WINAPI lMVWordWheelLength(HMVWORDWHEEL wheel);
// Copies entry `index` (cut to size - 1 bytes, NUL-terminated); answers 0 or an MVERR_.
MVAPI int WINAPI nMVWordWheelLookup(HMVWORDWHEEL wheel, LONG index, LPSTR buffer, LONG size);
// The first entry not before `prefix` (the length when none).
MVAPI LONG WINAPI lMVWordWheelPrefix(HMVWORDWHEEL wheel, LPCSTR prefix);
MVAPI void WINAPI MVWordWheelClose(HMVWORDWHEEL wheel);
MVAPI int WINAPI nMVKeyIndexGetCount(HMVWORDWHEEL wheel, LPCSTR key);
// Copies up to `count` logical addresses of `key` from its `first`; answers how many.
MVAPI LONG WINAPI lMVKeyIndexGetAddrs(HMVWORDWHEEL wheel, LPCSTR key, LONG first, LONG count, LPLONG addrs);

// Topic lists: ascending topic numbers. Combining leaves both operands valid.
MVAPI HMVTOPICLIST WINAPI hMVTopicListLoad(HMVTITLE title, LPCSTR name);
MVAPI HMVTOPICLIST WINAPI hMVTopicListCreate(HMVTITLE title);
MVAPI HMVTOPICLIST WINAPI hMVTopicListCombine(UINT op, HMVTOPICLIST a, HMVTOPICLIST b);
MVAPI LONG WINAPI lMVTopicListLength(HMVTOPICLIST list);
MVAPI LONG WINAPI lMVTopicListLookup(HMVTOPICLIST list, LONG index);
MVAPI void WINAPI MVTopicListDestroy(HMVTOPICLIST list);
MVAPI HMVTOPICLIST WINAPI hMVTopicListFromTopicNo(HMVTITLE title, LONG topicNumber);

// Baggage files. `mode` is 1 (read). Origins: 0 start, 1 current, 2 end.
MVAPI HMVBAGGAGE WINAPI hMVBaggageOpen(HMVTITLE title, LPCSTR name, UINT mode, LPLONG err);
// Answers the new position, or -1 (position unchanged) outside 0..size.
MVAPI LONG WINAPI lMVBaggageSeek(HMVBAGGAGE file, LONG offset, UINT origin, LPLONG err);
// Answers the bytes read: fewer than asked at the end, 0 past it.
MVAPI LONG WINAPI lMVBaggageRead(HMVBAGGAGE file, LPVOID buffer, LONG count, LPLONG err);
MVAPI LONG WINAPI lMVBaggageSeekRead(HMVBAGGAGE file, LONG offset, UINT origin, LPVOID buffer, LONG count, LPLONG err);
// The whole file in a global block with a NUL after it; *size (if given) gets its size.
MVAPI HGLOBAL WINAPI hMVBaggageGetFile(HMVTITLE title, LPCSTR name, UINT mode, LONG reserved1, LONG reserved2,
                                       LPDWORD size, LPLONG err);
MVAPI void WINAPI MVBaggageClose(HMVBAGGAGE file, LPLONG err);

// ---------------------------------------------------------------------------------------
// Displays on screen: windows, layout, painting, scrolling, pointing, selection,
// highlights, copying and printing (runtime/mediaview/win32/display).
//
// A display lays its region out when realized, at the width of the rectangle given or of
// its window's client area, and keeps that layout until it is realized again; painting,
// pointing and scrolling use it. Coordinates are the window's client coordinates. A scroll
// position in an address (fMVSetAddress, MVGetAddress) is the character offset of the
// first line shown, so it survives a change of width; scroll-bar positions and sizes are
// pixels (divided by a unit only for texts taller than 30,000 pixels).

#define MVERR_NOT_REALIZED 2024    // the display has not been realized on a window
#define MVERR_NOTHING 2025         // no focused hotspot, highlight, selection or text to give
#define MVERR_PRINT_ABORTED 2027   // the page callback refused a page

// fMVGetPointInfo's point record: 28 bytes; `size` is set by the caller.
typedef struct tagMVPOINTINFO {
  LONG size;
  LONG offset;    // character offset nearest the point
  LONG flags;     // MVPI_HOTSPOT: on a hotspot that carries data
  LONG kind;      // MV_POINT_*: on a hotspot the cursor it asks for, else what the point is over
  LONG hotspot;   // index of the hotspot in the region, -1 none
  LONG x, y;      // the point
} MVPOINTINFO, *LPMVPOINTINFO;
#define MVPI_HOTSPOT 1
#define MV_POINT_JUMP 0       // on a jump by hash or by context string
#define MV_POINT_POPUP 1
#define MV_POINT_COMMAND 2
#define MV_POINT_TEXT 0       // off hotspots: over the text
#define MV_POINT_ELSEWHERE 1  // off hotspots: past the text

// Hotspot record (40 bytes on i686): the caller sets size, capacity and data.
typedef struct tagMVHOTSPOTINFO {
  LONG size;
  RECT rect;      // the hotspot's rectangle on the line under the point (or its first line)
  DWORD hash;     // hash of the target context string
  LONG capacity;  // bytes at data
  LONG length;    // length of the hotspot's data; copied (with a NUL when room) only if it fits
  LPSTR data;
  LONG kind;      // MV_HOTSPOT_*
} MVHOTSPOTINFO, *LPMVHOTSPOTINFO;
// Hotspot kinds, as titles store them.
#define MV_HOTSPOT_COMMAND 0         // data: the authored command string
#define MV_HOTSPOT_JUMP 1            // hash: the target topic's context string
#define MV_HOTSPOT_POPUP 2           // hash: the popup topic's context string
#define MV_HOTSPOT_CONTEXT_JUMP 125  // data: the target topic's context string

// MVSelectPoint modes, and its `extend` argument: 0 starts, 1 extends.
#define MV_SELECT_CHARACTERS 1
#define MV_SELECT_WORDS 2
#define MV_SELECT_ALL 5
// MVSelectKey keys; `shift` non-zero extends the selection, zero moves the caret.
#define MV_KEY_UP 2
#define MV_KEY_DOWN 3
#define MV_KEY_LEFT 4
#define MV_KEY_RIGHT 5
#define MV_KEY_LINE_START 6
#define MV_KEY_LINE_END 7

// A highlight list is a global block: a DWORD count, then `count` of these, each a found
// word in the plain text of a region (offsets as the search index counts them). The
// display reads the block when it is set; the caller keeps and frees it.
typedef struct tagMVHIGHLIGHT {
  LONG region;    // MV_REGION_HEADING or MV_REGION_BODY
  DWORD offset;
  DWORD length;
} MVHIGHLIGHT;

// hMVCopyAdvanced's block: a LONG count, then `count` pairs of a clipboard format and a
// global handle of its data, ready for SetClipboardData. The caller frees the block. The
// handle is pointer-sized, so the layout follows the build:
//   32-bit: count at 0, pairs from offset 4, 8 bytes each (format 4, handle 4)
//   64-bit: count at 0, 4 bytes of padding, pairs from offset 8, 16 bytes each
//           (format 4, padding 4, handle 8)
// Read the pairs from MV_COPY_FORMATS_OFFSET, never from sizeof(LONG).
typedef struct tagMVCOPYFORMAT {
  UINT format;
  HANDLE data;
} MVCOPYFORMAT;
typedef struct tagMVCOPYBLOCK {
  LONG count;
  MVCOPYFORMAT formats[1];
} MVCOPYBLOCK;
#define MV_COPY_FORMATS_OFFSET offsetof(MVCOPYBLOCK, formats)
#define MV_COPY_SELECTION 1

// fMVPrintMedia's page callback: `begin` non-zero before a page is drawn (start it),
// zero when a page is full (end it). FALSE stops printing.
typedef BOOL(CALLBACK* MVPAGEPROC)(LPMV display, HDC dc, LONG page, LONG topicNumber, LONG region, LPARAM user,
                                   LPRECT pageRect, BOOL begin);

MVAPI BOOL WINAPI fMVSetWindow(LPMV display, HWND window, LPLONG err);
MVAPI HWND WINAPI hwndMVGetWindow(LPMV display);
MVAPI BOOL WINAPI fMVAllowEWSelection(LPMV display, BOOL allow);
// The look. Kerning applies to text of `points` and larger (0: none).
MVAPI void WINAPI MVSetKerningBoundary(LPMV display, LONG points);
MVAPI void WINAPI MVHidePartialLines(LPMV display, BOOL hide);
// Colours are COLORREF; 0xFFFFFFFF restores the default (white background, title colours).
MVAPI void WINAPI MVSetBkColor(LPMV display, COLORREF colour);
MVAPI void WINAPI MVSetTextColor(LPMV display, COLORREF colour);

// Lays the region out in `rect`, or in the window's client rectangle when it is null.
MVAPI BOOL WINAPI fMVRealize(LPMV display, LPRECT rect, LPLONG err);
// Width in the low word, height in the high word.
MVAPI DWORD WINAPI ptMVGetSize(LPMV display);
MVAPI DWORD WINAPI ptMVGetScrollSizes(LPMV display);
MVAPI LONG WINAPI xMVGetXScrollPos(LPMV display);
MVAPI LONG WINAPI yMVGetYScrollPos(LPMV display);
// Scrolls by a scroll-bar code (SB_LINEUP .. SB_BOTTOM; SB_THUMBPOSITION and SB_THUMBTRACK
// go to `pos`); answers the new position. *delta gets the distance to ScrollWindow by;
// *top and *bottom the heights of the strips at the top and bottom of the view to repaint
// beyond what ScrollWindow uncovers.
MVAPI LONG WINAPI yMVScrollY(LPMV display, LPPOINT delta, LPLONG top, LPLONG bottom, UINT code, LONG pos, LPLONG err);
MVAPI LONG WINAPI xMVScrollX(LPMV display, LPPOINT delta, UINT code, LONG pos, LPLONG err);
// Paints the part of the display inside `rect` (the whole frame when null).
MVAPI BOOL WINAPI fMVApplyToDC(LPMV display, HDC dc, LPRECT rect, LPLONG err);
// The child windows the shown topic embeds in its text, made on the display's window when
// it is laid out: `how` 0 gives the first, 2 the one after `previous`; null past the last.
// They go when another topic is shown, on removal (the next layout makes them again) and
// with the display.
MVAPI HWND WINAPI hwndMVGetEmbeddedWindow(LPMV display, HWND previous, UINT how);
MVAPI void WINAPI MVRemoveInsertedEmbeddedWindows(LPMV display);

// TRUE when the point is on a hotspot; fills either record that is given.
MVAPI BOOL WINAPI fMVGetPointInfo(LPMV display, LONG x, LONG y, LPMVPOINTINFO point, LPMVHOTSPOTINFO hotspot, LPLONG err);
MVAPI BOOL WINAPI fMVFocusInfo(LPMV display, LPMVHOTSPOTINFO hotspot, LPLONG err);
// Moves the focus mark to the next (or previous) hotspot, wrapping, and scrolls to it.
MVAPI BOOL WINAPI fMVMoveFocus(LPMV display, BOOL forward);
MVAPI void WINAPI MVSelectPoint(LPMV display, UINT mode, LONG x, LONG y, UINT extend, LPLONG err);
MVAPI void WINAPI MVSelectKey(LPMV display, UINT key, UINT shift);
MVAPI BOOL WINAPI fMVClearSelection(LPMV display);
MVAPI BOOL WINAPI fMVIsSelected(LPMV display);
// Makes the display's window the keyboard focus (non-zero) or only forgets the hotspot focus.
MVAPI void WINAPI MVActivate(LPMV display, BOOL active);

// Installs a highlight list (0 removes it); answers the list installed. `redraw` repaints.
MVAPI HGLOBAL WINAPI hMVSetHighlights(LPMV display, HGLOBAL list, BOOL redraw, LPLONG err);
MVAPI HGLOBAL WINAPI hMVGetHighlights(LPMV display);
// Scrolls the `index`-th highlight of the display's own region into view.
MVAPI BOOL WINAPI fMVScrollToHighlight(LPMV display, LONG index, LPLONG err);

// The selection as CF_TEXT (cp1251), CF_UNICODETEXT and "Rich Text Format"; 0 without one.
MVAPI HGLOBAL WINAPI hMVCopyAdvanced(LPMV display, UINT what, LONG reserved, LPLONG err);
// The whole region's plain text (cp1251, CR LF line ends).
MVAPI HGLOBAL WINAPI hMVCopyMedia(LPMV display, LPLONG err);
// Prints the display's region into `page` (device units). `free` is the part of the
// current page still empty: equal to `page` when no page is open. Pages are begun and
// ended through `proc`; the last page is left open and `free` tells where the text
// ended, so another region (or a footer) can follow on it. *pages gets the pages begun.
MVAPI BOOL WINAPI fMVPrintMedia(LPMV display, HDC dc, LONG flags, LPRECT page, LPRECT free, LPLONG pages, MVPAGEPROC proc,
                                LPARAM user, LPLONG err);

// ---------------------------------------------------------------------------------------
// Full-text search (runtime/mediaview/win32/SearchCalls.cpp). The query language is
// described in docs/query-language.md; queries are cp1251.
//
// A highlight source remembers what made each found topic match. The runtime owns it: it
// stays valid until the next query on the same title writes another one (or 0) through
// its `highlights` argument, or until the title closes. A stopped query writes nothing
// there, so the previous source still goes with the previous result.

typedef struct MvHighlightSource_* HMVHIGHLIGHTSOURCE;

#define MV_QUERY_WORD_FORMS 0      // every form of each word (the dialog's box checked)
#define MV_QUERY_EXACT 1           // each word exactly as written

#define MVERR_SEARCH_STOPPED 2002  // the message pump answered non-zero (a query, or opening)
#define MVERR_INDEX_VERSION 2007   // the title's index is of a version this runtime does not read
// A title without an index answers MVERR_NOT_FOUND; a damaged one MVERR_READ.
#define MVERR_QUERY_EMPTY 2200     // nothing searchable: empty, or only stop words
#define MVERR_QUERY_OPERATOR 2201  // the query or a parenthesised part begins or ends with an operator
#define MVERR_QUERY_QUOTE 2203     // a quotation mark is not closed
#define MVERR_QUERY_LEFT_PAREN 2204
#define MVERR_QUERY_RIGHT_PAREN 2205
#define MVERR_QUERY_DEPTH 2206     // parentheses nested more than five levels deep
#define MVERR_QUERY_TERMS 2207     // too many words, or a wildcard matching too many
#define MVERR_QUERY_WILDCARD 2213  // a word made only of * and ?

// Runs `query` (option MV_QUERY_WORD_FORMS or MV_QUERY_EXACT) and answers a topic list
// of the topics found, ascending; empty when nothing matched. `scope`, when not 0,
// restricts the result to its topics. `reserved` is ignored (the programs pass 1). While
// it works the title's message pump (hMVTitleOpenEx) is called at least every 20 ms and a
// non-zero answer stops the query. On success *highlights gets the query's highlight
// source; on failure 0 (the error in *err); a stopped query answers 0 with
// MVERR_SEARCH_STOPPED and leaves *highlights alone.
MVAPI HMVTOPICLIST WINAPI hMVTopicListFromQuery(HMVTITLE title, UINT option, LPCSTR query, HMVTOPICLIST scope,
                                                LONG reserved, HMVHIGHLIGHTSOURCE* highlights, LPLONG err);
// The found words of topic number `topicNumber` as a highlight list (the block
// hMVSetHighlights takes: a DWORD count, then MVHIGHLIGHT records in text order, the
// heading's first). The caller frees it with GlobalFree. 0 when the topic has none.
MVAPI HGLOBAL WINAPI hMVHighlightsInTopic(HMVHIGHLIGHTSOURCE source, LONG topicNumber);
// How many records hMVHighlightsInTopic would give.
MVAPI LONG WINAPI lMVTopicHighlightCount(HMVHIGHLIGHTSOURCE source, LONG topicNumber);

#ifdef __cplusplus
}
#endif
