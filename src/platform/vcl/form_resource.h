// Form resources: the text form of a window's designed layout.
//
//   object Form1: TForm1
//     Caption = 'The program'
//     ClientWidth = 671
//     Font.Height = -11
//     BorderIcons = [biSystemMenu, biMinimize]
//     OnClick = Button3Click
//     object ListBox1: TListBox
//       Items.Strings = (
//         'Working Range:'
//         'MHz')
//     end
//   end
//
// Values: integers, floats, 'strings' (UTF-8 inside the quotes, '' for a
// quote, #nnn character codes and + to join parts), identifiers, sets
// [a, b] and string lists ( ... ).
#pragma once

#include <utility>

#include "vcl_classes.h"

struct DfmValue {
    enum Kind { Integer, Float, Str, Ident, Set, StrList };
    Kind kind = Integer;
    long long integer = 0;
    double real = 0;
    String text;                    // Str and Ident
    std::vector<String> list;       // Set and StrList
    int line = 0;

    // Checked accessors: a value of another kind throws EResourceError.
    long long AsInt() const;
    bool AsBool() const;            // Ident True/False
    const String& AsString() const;
    const String& AsIdent() const;
    const std::vector<String>& AsList() const;  // Set or StrList
};

struct DfmObject {
    String name;
    String className;
    int line = 0;
    std::vector<std::pair<String, DfmValue>> properties;
    std::vector<DfmObject> children;
};

// Parses a whole resource; errors throw EResourceError("<file>:<line>: ...").
DfmObject ParseDfm(const String& text, const String& fileName);

// The text of ":/forms/<formName>.dfm" from the program's resources.
// Throws EResourceError when there is none.
String FormResourceText(const String& formName);

// The error text for a value or name in a resource: "<file>:<line>: what".
String ResourceErrorText(const String& fileName, int line, const String& what);
