// Small stateless text helpers: the "mytime" cache-buster, preparing a JSON reply for the parser,
// splitting lists, reading numbers and colour texts. (The skins' anchor layout is in skin/SkinAnchor.h.)
#pragma once

#include "framework/String.h"

#include <windows.h>

#include <string>
#include <vector>

// TRUE when the address has a "?" followed by something; a "?" at the very end is cut off.
BOOL UrlHasQuery(CString& url);

// TRUE when a browser handed this address would read it as an http or https address: as a browser
// does, leading control characters and spaces are skipped and tab, LF and CR are dropped wherever they
// stand before the scheme is read. Every other scheme (script, local files, data, the browser's own
// resources) and every address without a scheme (a path, a share) gives FALSE. For what goes to a browser
// view; an address used as it stands (split, fetched, handed to the shell) is checked with
// IsLiteralWebAddress (framework/Internet.h).
BOOL IsBrowserWebAddress(const wchar_t* url);

// Appends "?mytime=<ticks>" or "&mytime=<ticks>" to the address, in place.
void AppendTimeStamp(CString& url);

// Resolves the "\/" and "\uXXXX" escapes of a JSON reply and converts it to the thread's ANSI code
// page. Escapes that would put a quote, a backslash or a control character into a JSON string are
// kept as written, so the result still parses.
void JsonUnescapeToAnsi(const wchar_t* text, std::string& out);

// Splits at commas; a trailing comma adds no empty last piece, the empty text gives one empty piece.
void SplitByComma(std::vector<CString>& pieces, const CString& text);

// "r,g,b" as a COLORREF, each number cut to 8 bits; missing numbers read as 0.
COLORREF ParseRgbColor(const CString& text);

// The text in the thread's ANSI code page read as atoi reads it: leading white space, optional sign,
// digits; 0 without digits. Values beyond the int range are clamped.
int AnsiToInt(const CString& text);
