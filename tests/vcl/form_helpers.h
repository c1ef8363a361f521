// Building a test form in code, as a form file would: each control owned
// by the form, named and placed on its parent.
#pragma once

#include "platform/vcl/vcl.h"

namespace forms {

template <class T>
T* Make(TForm& form, TWinControl* parent, const String& name, int left, int top) {
    T* c = new T(&form);
    c->SetName(name);
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    return c;
}

}  // namespace forms
