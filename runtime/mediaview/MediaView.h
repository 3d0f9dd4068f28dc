#pragma once
// The title runtime, MVCL14N.DLL: the calls the programs make on titles, addresses, word
// wheels, topic lists and baggage files.
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
// once.
//
// Results returned as HGLOBAL (hMVGetName, hMVGetData, hMVBaggageGetFile) are movable
// global blocks holding NUL-terminated bytes; the caller frees them with GlobalFree.
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
#define MVERR_OUT_OF_MEMORY 2003
#define MVERR_READ 2013            // damaged data inside the title
#define MVERR_INVALID 2015         // a bad handle, address or argument
#define MVERR_NOT_FOUND 2023       // no such baggage file
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

// Titles. hMVTitleOpenEx calls `pump` while it opens and gives up (0) when it answers
// non-zero; `reserved` is 0.
MVAPI HMVTITLE WINAPI hMVTitleOpenEx(LPCSTR path, MVPUMPPROC pump, LPVOID reserved);
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

#ifdef __cplusplus
}
#endif
