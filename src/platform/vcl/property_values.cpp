// Reading typed property values (colours, enumerations, fonts) from a form
// resource.
#include <climits>

#include "vcl_internal.h"

namespace vcl::detail {

namespace {
struct NamedColor {
    const char* name;
    TColor color;
};
const NamedColor Colors[] = {
    {"clBlack", 0x000000},     {"clMaroon", 0x000080},    {"clGreen", 0x008000},
    {"clOlive", 0x008080},     {"clNavy", 0x800000},      {"clPurple", 0x800080},
    {"clTeal", 0x808000},      {"clGray", 0x808080},      {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},       {"clLime", 0x00FF00},      {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF},   {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},     {"clNone", 0x1FFFFFFF},    {"clDefault", clDefault},
    {"clWindow", clWindow},    {"clWindowText", clWindowText}, {"clBtnFace", clBtnFace},
    {"clBtnShadow", 0x80000010}, {"clBtnText", 0x80000012}, {"clBtnHighlight", 0x80000014},
    {"clHighlight", 0x8000000D}, {"clHighlightText", 0x8000000E}, {"clGrayText", 0x80000011},
    {"clInfoBk", 0x80000018},  {"clInfoText", 0x80000017}, {"clMenu", 0x80000004},
    {"clMenuText", 0x80000007},
};
}  // namespace

void UnknownProperty(const String& name) { throw EResourceError("unknown property " + name); }

TColor ColorValue(const DfmValue& v) {
    if (v.kind == DfmValue::Integer) return static_cast<TColor>(v.integer);
    const String& name = v.AsIdent();
    for (const NamedColor& c : Colors)
        if (name == c.name) return c.color;
    throw EResourceError("unknown colour " + name);
}

int IntValue(const DfmValue& v) {
    long long n = v.AsInt();
    if (n < INT_MIN || n > INT_MAX) throw EResourceError("number out of range");
    return static_cast<int>(n);
}

int EnumValue(const DfmValue& v, std::initializer_list<const char*> names) {
    const String& id = v.AsIdent();
    int i = 0;
    for (const char* n : names) {
        if (id == n) return i;
        ++i;
    }
    throw EResourceError("unknown value " + id);
}

TFontStyles FontStylesValue(const DfmValue& v) {
    if (v.kind != DfmValue::Set) throw EResourceError("a set of font styles expected");
    TFontStyles styles = 0;
    for (const String& s : v.list) {
        if (s == "fsBold") styles |= fsBold;
        else if (s == "fsItalic") styles |= fsItalic;
        else if (s == "fsUnderline") styles |= fsUnderline;
        else if (s == "fsStrikeOut") styles |= fsStrikeOut;
        else throw EResourceError("unknown font style " + s);
    }
    return styles;
}

bool ReadFontProperty(TFont& font, const String& name, const DfmValue& v) {
    if (name == "Font.Name") font.Name = v.AsString();
    else if (name == "Font.Height") font.Height = IntValue(v);
    else if (name == "Font.Size") font.SetSize(IntValue(v));
    else if (name == "Font.Style") font.Style = FontStylesValue(v);
    else if (name == "Font.Color") font.Color = ColorValue(v);
    else if (name == "Font.Charset" || name == "Font.Pitch") (void)v;  // one character set: UTF-8
    else return false;
    return true;
}

}  // namespace vcl::detail
