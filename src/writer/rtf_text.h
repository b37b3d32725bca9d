#pragma once
// Text in RTF: the record bytes are in the active code page; they are written as 7-bit RTF with
// every non-ASCII character as \uN (which every current reader shows correctly), followed by the
// character's code-page bytes as the fallback for readers without Unicode, decoded there with
// the font's \fcharset.
#include <string>
#include <string_view>

namespace quarnel::writer {

// The \fcharset that matches a Windows code page (0 for code pages without one, such as UTF-8).
int charsetForCodePage(int codePage);

// The \ansicpg to declare: the code page itself when RTF readers know it, 1252 otherwise.
int ansiCodePageFor(int codePage);

// Appends a number written independently of the locale.
void appendNumber(std::string &out, long long value);

// Appends the record text (code-page bytes) as RTF: \, { and } escaped, 0x0A as \line, tab as
// \tab, other control bytes dropped. Assumes the enclosing group starts with \uc1 in effect and
// leaves it in an unknown state, so callers wrap the text in a group.
void appendRtfText(std::string &out, std::string_view bytes, int codePage);

// A font name from config.ini as a font-table entry name: the separators of the table removed.
void appendFontName(std::string &out, std::string_view name, int codePage);

} // namespace quarnel::writer
