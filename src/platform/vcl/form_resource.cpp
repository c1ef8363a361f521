// The parser of form resources and the checked value accessors.
#include "form_resource.h"

#include <QFile>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "vcl_internal.h"

String ResourceErrorText(const String& fileName, int line, const String& what) {
    if (line <= 0) return fileName + ": " + what;
    return fileName + ":" + std::to_string(line) + ": " + what;
}

String FormResourceText(const String& formName) {
    QFile file(":/forms/" + vcl::detail::ToQString(formName) + ".dfm");
    if (!file.open(QIODevice::ReadOnly))
        throw EResourceError(ResourceErrorText(formName + ".dfm", 0, "no such form resource"));
    QByteArray bytes = file.readAll();
    return String(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// ---- value accessors

static const char* KindName(DfmValue::Kind k) {
    switch (k) {
        case DfmValue::Integer: return "an integer";
        case DfmValue::Float: return "a number";
        case DfmValue::Str: return "a string";
        case DfmValue::Ident: return "an identifier";
        case DfmValue::Set: return "a set";
        case DfmValue::StrList: return "a list";
    }
    return "a value";
}

static EResourceError WrongKind(const DfmValue& v, const char* expected) {
    return EResourceError(String(expected) + " expected, not " + KindName(v.kind));
}

long long DfmValue::AsInt() const {
    if (kind != Integer) throw WrongKind(*this, "an integer");
    return integer;
}

bool DfmValue::AsBool() const {
    if (kind == Ident) {
        if (text == "True" || text == "true" || text == "TRUE") return true;
        if (text == "False" || text == "false" || text == "FALSE") return false;
    }
    throw EResourceError("True or False expected");
}

const String& DfmValue::AsString() const {
    if (kind != Str) throw WrongKind(*this, "a string");
    return text;
}

const String& DfmValue::AsIdent() const {
    if (kind != Ident) throw WrongKind(*this, "an identifier");
    return text;
}

const std::vector<String>& DfmValue::AsList() const {
    if (kind != Set && kind != StrList) throw WrongKind(*this, "a list");
    return list;
}

// ---- the parser

namespace {

enum class Tok { End, Ident, Integer, Float, String, Symbol };

struct Token {
    Tok kind = Tok::End;
    String text;  // identifier, string contents or symbol
    long long integer = 0;
    double real = 0;
    int line = 1;
};

void AppendUtf8(String& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Parser {
public:
    Parser(const String& text, const String& file) : FText(text), FFile(file) { Next(); }

    DfmObject Document() {
        DfmObject root = Object();
        if (FTok.kind != Tok::End) Fail(FTok.line, "text after the end of the form");
        return root;
    }

private:
    [[noreturn]] void Fail(int line, const String& what) {
        throw EResourceError(ResourceErrorText(FFile, line, what));
    }

    static bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
    static bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

    String Describe(const Token& t) {
        switch (t.kind) {
            case Tok::End: return "the end of the text";
            case Tok::String: return "a string";
            case Tok::Integer:
            case Tok::Float: return "a number";
            default: return "'" + t.text + "'";
        }
    }

    void SkipSpace() {
        while (FPos < FText.size()) {
            char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
            } else {
                break;
            }
        }
    }

    // One string token: quoted parts and #nnn codes written next to each other.
    void ReadString(Token& t) {
        String out;
        unsigned pendingHigh = 0;
        auto flushHigh = [&] {
            if (pendingHigh) AppendUtf8(out, 0xFFFD);
            pendingHigh = 0;
        };
        while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
            if (FText[FPos] == '\'') {
                flushHigh();
                ++FPos;
                for (;;) {
                    if (FPos >= FText.size() || FText[FPos] == '\n')
                        Fail(t.line, "unterminated string");
                    char c = FText[FPos++];
                    if (c == '\'') {
                        if (FPos < FText.size() && FText[FPos] == '\'') {
                            out += '\'';
                            ++FPos;
                        } else {
                            break;
                        }
                    } else {
                        out += c;
                    }
                }
            } else {
                ++FPos;
                size_t start = FPos;
                bool hex = FPos < FText.size() && FText[FPos] == '$';
                if (hex) ++FPos, ++start;
                while (FPos < FText.size() &&
                       (hex ? std::isxdigit(static_cast<unsigned char>(FText[FPos]))
                            : std::isdigit(static_cast<unsigned char>(FText[FPos]))))
                    ++FPos;
                if (FPos == start || FPos - start > 7) Fail(FLine, "bad character code");
                unsigned cp = static_cast<unsigned>(std::strtoul(FText.substr(start, FPos - start).c_str(),
                                                                 nullptr, hex ? 16 : 10));
                if (cp > 0x10FFFF) Fail(FLine, "bad character code");
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    flushHigh();
                    pendingHigh = cp;
                } else if (cp >= 0xDC00 && cp <= 0xDFFF && pendingHigh) {
                    AppendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (cp - 0xDC00));
                    pendingHigh = 0;
                } else {
                    flushHigh();
                    AppendUtf8(out, cp);
                }
            }
        }
        flushHigh();
        t.kind = Tok::String;
        t.text = std::move(out);
    }

    void Next() {
        SkipSpace();
        Token t;
        t.line = FLine;
        if (FPos >= FText.size()) {
            FTok = t;
            return;
        }
        char c = FText[FPos];
        if (IsIdentStart(c)) {
            size_t start = FPos;
            while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
            t.kind = Tok::Ident;
            t.text = FText.substr(start, FPos - start);
        } else if (c == '\'' || c == '#') {
            ReadString(t);
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
                   ((c == '-' || c == '+') && FPos + 1 < FText.size() &&
                    (std::isdigit(static_cast<unsigned char>(FText[FPos + 1])) || FText[FPos + 1] == '$'))) {
            ReadNumber(t);
        } else {
            t.kind = Tok::Symbol;
            t.text = String(1, c);
            ++FPos;
        }
        FTok = t;
    }

    void ReadNumber(Token& t) {
        bool negative = false;
        if (FText[FPos] == '-' || FText[FPos] == '+') negative = FText[FPos++] == '-';
        size_t start = FPos;
        if (FText[FPos] == '$') {
            ++FPos;
            start = FPos;
            while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
            if (FPos == start || FPos - start > 16) Fail(t.line, "bad number");
            unsigned long long v = std::strtoull(FText.substr(start, FPos - start).c_str(), nullptr, 16);
            t.kind = Tok::Integer;
            t.integer = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
        } else {
            bool real = false;
            while (FPos < FText.size()) {
                char c = FText[FPos];
                if (std::isdigit(static_cast<unsigned char>(c))) {
                    ++FPos;
                } else if (c == '.' || c == 'e' || c == 'E') {
                    real = true;
                    ++FPos;
                    if ((c == 'e' || c == 'E') && FPos < FText.size() && (FText[FPos] == '-' || FText[FPos] == '+'))
                        ++FPos;
                } else {
                    break;
                }
            }
            // A full stop is the decimal point of a form whatever the
            // user's language, so not strtod, which follows LC_NUMERIC.
            String digits = FText.substr(start, FPos - start);
            const char* last = digits.data() + digits.size();
            std::from_chars_result read;
            if (real) {
                t.kind = Tok::Float;
                read = std::from_chars(digits.data(), last, t.real);
                if (negative) t.real = -t.real;
            } else {
                t.kind = Tok::Integer;
                read = std::from_chars(digits.data(), last, t.integer);
                if (negative) t.integer = -t.integer;
            }
            if (read.ptr != last || read.ec != std::errc()) Fail(t.line, "bad number " + digits);
        }
        if (FPos < FText.size() && IsIdentChar(FText[FPos])) Fail(t.line, "bad number");
    }

    bool IsSymbol(const char* s) const { return FTok.kind == Tok::Symbol && FTok.text == s; }

    void Expect(const char* symbol) {
        if (!IsSymbol(symbol)) Fail(FTok.line, String("'") + symbol + "' expected, not " + Describe(FTok));
        Next();
    }

    String ExpectIdent(const char* what) {
        if (FTok.kind != Tok::Ident) Fail(FTok.line, String(what) + " expected, not " + Describe(FTok));
        String s = FTok.text;
        Next();
        return s;
    }

    static bool Keyword(const Token& t, const char* word) {
        if (t.kind != Tok::Ident || t.text.size() != std::char_traits<char>::length(word)) return false;
        for (size_t i = 0; i < t.text.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(t.text[i])) != word[i]) return false;
        return true;
    }

    DfmObject Object() {
        DfmObject obj;
        obj.line = FTok.line;
        if (!Keyword(FTok, "object") && !Keyword(FTok, "inherited") && !Keyword(FTok, "inline"))
            Fail(FTok.line, "'object' expected, not " + Describe(FTok));
        Next();
        String first = ExpectIdent("a component name");
        if (IsSymbol(":")) {
            Next();
            obj.name = first;
            obj.className = ExpectIdent("a class name");
        } else {
            obj.className = first;
        }
        for (;;) {
            if (FTok.kind == Tok::End) Fail(FTok.line, "'end' expected for " + obj.name + " (begun at line " +
                                                           std::to_string(obj.line) + ")");
            if (Keyword(FTok, "end")) {
                Next();
                return obj;
            }
            if (Keyword(FTok, "object") || Keyword(FTok, "inherited") || Keyword(FTok, "inline")) {
                obj.children.push_back(Object());
                continue;
            }
            if (!obj.children.empty()) Fail(FTok.line, "a property after the nested objects");
            int line = FTok.line;
            String name = ExpectIdent("a property name");
            while (IsSymbol(".")) {
                Next();
                name += "." + ExpectIdent("a property name");
            }
            Expect("=");
            if (FTok.line != line) Fail(line, "a value expected after '=' on the same line");
            DfmValue v = Value();
            v.line = line;
            obj.properties.emplace_back(std::move(name), std::move(v));
        }
    }

    // A string, or strings joined with '+'.
    String StringExpr() {
        String s = FTok.text;
        Next();
        while (IsSymbol("+")) {
            Next();
            if (FTok.kind != Tok::String) Fail(FTok.line, "a string expected after '+'");
            s += FTok.text;
            Next();
        }
        return s;
    }

    DfmValue Value() {
        DfmValue v;
        v.line = FTok.line;
        switch (FTok.kind) {
            case Tok::Integer:
                v.kind = DfmValue::Integer;
                v.integer = FTok.integer;
                Next();
                return v;
            case Tok::Float:
                v.kind = DfmValue::Float;
                v.real = FTok.real;
                Next();
                return v;
            case Tok::String:
                v.kind = DfmValue::Str;
                v.text = StringExpr();
                return v;
            case Tok::Ident:
                v.kind = DfmValue::Ident;
                v.text = FTok.text;
                Next();
                while (IsSymbol(".")) {  // a reference to another form's component
                    Next();
                    v.text += "." + ExpectIdent("an identifier");
                }
                return v;
            case Tok::End:
                Fail(FTok.line, "a value expected, not the end of the text");
            case Tok::Symbol:
                break;
        }
        if (IsSymbol("[")) {
            v.kind = DfmValue::Set;
            Next();
            if (!IsSymbol("]")) {
                for (;;) {
                    v.list.push_back(ExpectIdent("a set element"));
                    if (IsSymbol("]")) break;
                    if (!IsSymbol(",")) Fail(FTok.line, "',' or ']' expected, not " + Describe(FTok));
                    Next();
                }
            }
            Next();
            return v;
        }
        if (IsSymbol("(")) {
            v.kind = DfmValue::StrList;
            Next();
            while (!IsSymbol(")")) {
                if (FTok.kind == Tok::String) {
                    v.list.push_back(StringExpr());
                } else if (FTok.kind == Tok::Integer) {
                    v.list.push_back(std::to_string(FTok.integer));
                    Next();
                } else if (FTok.kind == Tok::Ident) {
                    v.list.push_back(FTok.text);
                    Next();
                } else {
                    Fail(FTok.line, "a list item or ')' expected, not " + Describe(FTok));
                }
            }
            Next();
            return v;
        }
        if (IsSymbol("{")) {  // binary data: kept as its hex digits
            v.kind = DfmValue::Str;
            int start = FTok.line;
            while (FPos < FText.size() && FText[FPos] != '}') {
                char c = FText[FPos++];
                if (c == '\n') ++FLine;
                else if (std::isxdigit(static_cast<unsigned char>(c))) v.text += c;
                else if (!std::isspace(static_cast<unsigned char>(c))) Fail(FLine, "bad binary data");
            }
            if (FPos >= FText.size()) Fail(start, "unterminated binary data");
            ++FPos;
            Next();
            return v;
        }
        Fail(FTok.line, "a value expected, not " + Describe(FTok));
    }

    const String& FText;
    String FFile;
    size_t FPos = 0;
    int FLine = 1;
    Token FTok;
};

}  // namespace

DfmObject ParseDfm(const String& text, const String& fileName) {
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
        return ParseDfm(text.substr(3), fileName);
    Parser parser(text, fileName);
    return parser.Document();
}
