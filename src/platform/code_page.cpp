#include "platform/code_page.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <iconv.h>
#include <langinfo.h>

namespace quarnel::platform {
namespace {

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

int codePageFromEnvironment()
{
    // Only LC_CTYPE matters here, and only its character set; a program that never called
    // setlocale still gets the user's locale this way.
    const char *previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_CTYPE, "");
    const std::string charset = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, saved.c_str());
    return resolveCodePage(std::getenv("QUARNEL_CODEPAGE"), charset);
}

// An iconv descriptor that is closed when it goes out of scope.
class Converter {
public:
    Converter(const std::string &to, const std::string &from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

} // namespace

int activeCodePage()
{
    static const int codePage = codePageFromEnvironment();
    return codePage;
}

int resolveCodePage(const char *overrideValue, std::string_view localeCharset)
{
    if (overrideValue) {
        char *end = nullptr;
        const long codePage = std::strtol(overrideValue, &end, 10);
        if (end != overrideValue && *end == '\0' && codePage > 0 && codePage < 100000 &&
            !iconvNameForCodePage(int(codePage)).empty())
            return int(codePage);
    }
    return codePageForCharset(localeCharset);
}

int codePageForCharset(std::string_view charset)
{
    const std::string name = upper(charset);
    struct Entry {
        const char *charset;
        int codePage;
    };
    static const Entry table[] = {
        {"UTF-8", 65001},       {"UTF8", 65001},        {"GB2312", 936},       {"GBK", 936},
        {"GB18030", 936},       {"EUC-CN", 936},        {"BIG5", 950},         {"BIG5-HKSCS", 950},
        {"SHIFT_JIS", 932},     {"SJIS", 932},          {"EUC-JP", 932},       {"EUC-KR", 949},
        {"ISO-8859-1", 1252},   {"ISO-8859-15", 1252},  {"ISO-8859-2", 1250},  {"ISO-8859-5", 1251},
        {"KOI8-R", 1251},       {"KOI8-U", 1251},       {"ISO-8859-7", 1253},  {"ISO-8859-9", 1254},
        {"ISO-8859-8", 1255},   {"ISO-8859-6", 1256},   {"ISO-8859-13", 1257}, {"TIS-620", 874},
        {"CP1250", 1250},       {"CP1251", 1251},       {"CP1252", 1252},      {"CP1253", 1253},
        {"CP1254", 1254},       {"CP1255", 1255},       {"CP1256", 1256},      {"CP1257", 1257},
        {"CP1258", 1258},       {"ANSI_X3.4-1968", 1252},
    };
    for (const Entry &entry : table)
        if (name == entry.charset)
            return entry.codePage;
    return 1252;
}

std::string iconvNameForCodePage(int codePage)
{
    switch (codePage) {
    case 65001:
        return "UTF-8";
    case 936:
        return "CP936";
    case 950:
        return "CP950";
    case 932:
        return "CP932";
    case 949:
        return "CP949";
    case 874:
        return "CP874";
    default:
        if (codePage >= 1250 && codePage <= 1258)
            return "CP" + std::to_string(codePage);
        return {};
    }
}

CodePageEncoder::CodePageEncoder(int codePage) : codePage_(codePage)
{
    const std::string target = iconvNameForCodePage(codePage);
    iconv_t cd = iconv_open(target.empty() ? "CP1252" : target.c_str(), "UTF-16LE");
    descriptor_ = cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd;
}

CodePageEncoder::~CodePageEncoder()
{
    if (descriptor_)
        iconv_close(static_cast<iconv_t>(descriptor_));
}

void CodePageEncoder::append(std::u16string_view text, std::string &out)
{
    if (!descriptor_) {
        out.append(text.size(), '?');
        return;
    }
    const auto cd = static_cast<iconv_t>(descriptor_);
    char buffer[16];
    for (size_t i = 0; i < text.size();) {
        // One character at a time: a surrogate pair is one character, a lone surrogate is not.
        size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            units = 2;
        char in[4];
        for (size_t k = 0; k < units; ++k) {
            in[2 * k] = static_cast<char>(text[i + k] & 0xFF);
            in[2 * k + 1] = static_cast<char>(text[i + k] >> 8);
        }
        char *inPtr = in;
        size_t inLeft = units * 2;
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            out.push_back('?');
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            // Stateful encodings end their shift sequence per character.
            iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
        }
        i += units;
    }
}

std::string utf16ToCodePage(std::u16string_view text, int codePage)
{
    std::string result;
    CodePageEncoder(codePage).append(text, result);
    return result;
}

std::u16string codePageToUtf16(std::string_view bytes, int codePage)
{
    std::u16string result;
    const std::string source = iconvNameForCodePage(codePage);
    Converter converter("UTF-16LE", source.empty() ? "CP1252" : source);
    if (!converter.ok())
        return result;

    char *inPtr = const_cast<char *>(bytes.data());
    size_t inLeft = bytes.size();
    std::string out(bytes.size() * 4 + 8, '\0');
    char *outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(converter.get(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: four output bytes per input byte are always enough
        // An invalid or truncated sequence: replace one byte and go on.
        ++inPtr;
        --inLeft;
        if (outLeft < 2)
            break;
        *outPtr++ = static_cast<char>(0xFD);
        *outPtr++ = static_cast<char>(0xFF);
        outLeft -= 2;
        iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
    const size_t produced = static_cast<size_t>(outPtr - out.data()) / 2;
    result.resize(produced);
    for (size_t i = 0; i < produced; ++i)
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(out[2 * i]) |
                                          (static_cast<unsigned char>(out[2 * i + 1]) << 8));
    return result;
}

} // namespace quarnel::platform
