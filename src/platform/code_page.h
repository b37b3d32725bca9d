#pragma once
// The process's "ANSI" code page and conversions between it and UTF-16.
//
// The active code page follows the locale's character set, as a Windows system's does: a UTF-8
// locale gives 65001, legacy locales give their Windows equivalents (GBK 936, Big5 950, Shift_JIS
// 932, EUC-KR 949, ISO-8859/CP125x), the C locale gives 1252. QUARNEL_CODEPAGE=NNNN overrides it.
#include <string>
#include <string_view>

namespace quarnel::platform {

inline constexpr int CodePageUtf8 = 65001;

// The active code page, decided once per process from the environment.
int activeCodePage();

// The code page chosen from a QUARNEL_CODEPAGE value (null when unset; ignored when it is not a
// code page iconv can convert) and the locale's character set.
int resolveCodePage(const char *overrideValue, std::string_view localeCharset);

// The code page for a locale character set name as nl_langinfo(CODESET) reports it, or 1252
// for names that have no Windows equivalent.
int codePageForCharset(std::string_view charset);

// The iconv name of a Windows code page; empty when iconv has no converter for it.
std::string iconvNameForCodePage(int codePage);

// Encodes UTF-16 text into one code page; keeps its iconv descriptor, so text that is encoded a
// character at a time (text block assembly) does not open a converter per character.
class CodePageEncoder {
public:
    explicit CodePageEncoder(int codePage);
    ~CodePageEncoder();
    CodePageEncoder(const CodePageEncoder &) = delete;
    CodePageEncoder &operator=(const CodePageEncoder &) = delete;

    int codePage() const { return codePage_; }
    // Appends the encoding of `text` to `out`; see utf16ToCodePage.
    void append(std::u16string_view text, std::string &out);

private:
    int codePage_;
    void *descriptor_; // iconv_t
};

// UTF-16 to the code page. Characters the code page cannot represent, and lone surrogates,
// become '?', as WideCharToMultiByte does without flags.
std::string utf16ToCodePage(std::u16string_view text, int codePage);

// Code page bytes to UTF-16. Bytes that do not decode become U+FFFD.
std::u16string codePageToUtf16(std::string_view bytes, int codePage);

} // namespace quarnel::platform
