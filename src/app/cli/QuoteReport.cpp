#include "app/cli/QuoteReport.h"

#include <charconv>
#include <cstdio>

namespace cli {
namespace {

size_t CodePoints(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

std::string Padded(const std::string& s, size_t width) {
    const size_t n = CodePoints(s);
    return n >= width ? s : s + std::string(width - n, ' ');
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

std::string RowCaption(const calc::ResultTexts& r, int code) {
    return code == calc::cKP ? r.Label92 : std::string(calc::ResultRowCaptions[code]);
}

} // namespace

std::string QuoteText(const calc::Calculator& c) {
    const calc::ResultTexts& r = c.Result();
    std::string out = r.Formula + "\n";
    size_t width = 0;
    for (int code = 0; code < calc::TariffCodeCount; ++code)
        width = std::max(width, CodePoints(RowCaption(r, code)));
    for (int code = 0; code < calc::TariffCodeCount; ++code) {
        out += Padded(RowCaption(r, code), width + 1) + Padded(std::string(calc::TariffCodes[code]), 4) +
               Padded(r.Values[code], 8) + (r.Visible[code] ? "показано" : "скрыто") + "\n";
    }
    out += std::string(calc::PremiumCaption) + ": " + r.Premium + "\n";
    return out;
}

std::string QuoteJson(const calc::Calculator& c, const std::vector<std::string>& notes) {
    const calc::ResultTexts& r = c.Result();
    // A JSON number: a point before the fraction in any locale.
    char buf[64];
    const std::string premium(
        buf, std::to_chars(buf, buf + sizeof buf, r.PremiumValue, std::chars_format::general, 15).ptr);
    std::string out = "{\n  \"formula\": " + JsonString(r.Formula) + ",\n  \"values\": [\n";
    for (int code = 0; code < calc::TariffCodeCount; ++code) {
        out += "    {\"code\": " + JsonString(std::string(calc::TariffCodes[code])) +
               ", \"caption\": " + JsonString(RowCaption(r, code)) +
               ", \"text\": " + JsonString(r.Values[code]) +
               ", \"shown\": " + (r.Visible[code] ? "true" : "false") + "}" +
               (code + 1 < calc::TariffCodeCount ? "," : "") + "\n";
    }
    out += "  ],\n  \"termCaption\": " + JsonString(r.Label92) + ",\n";
    out += "  \"premiumText\": " + JsonString(r.Premium) + ",\n";
    out += "  \"premium\": " + premium + ",\n  \"enabledPages\": [";
    bool first = true;
    for (int p = 0; p < calc::PageCount; ++p) {
        if (!c.PageEnabled(calc::PageId(p)))
            continue;
        out += (first ? "" : ", ") + JsonString(std::string(calc::PageNames[p]));
        first = false;
    }
    out += "],\n  \"notes\": [";
    for (size_t i = 0; i < notes.size(); ++i)
        out += (i ? ", " : "") + JsonString(notes[i]);
    return out + "]\n}\n";
}

} // namespace cli
