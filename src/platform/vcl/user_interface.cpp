// MessageBoxA and ShellExecuteA over the modal seam.
#include "user_interface.h"

#include "modal.h"

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, unsigned uType) {
    return vcl::Modal().MessageBox(static_cast<TForm*>(hWnd), lpText ? lpText : "", lpCaption ? lpCaption : "",
                                   uType);
}

// The desktop's opener has no answer to give: like the system call, the
// result is above 32 when the request was handed on.
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR /*lpParameters*/,
                        LPCSTR /*lpDirectory*/, int /*nShowCmd*/) {
    if (!lpFile || !*lpFile) return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(2));  // ERROR_FILE_NOT_FOUND
    vcl::Modal().ShellOpen(static_cast<TForm*>(hwnd), lpOperation ? lpOperation : "open", lpFile);
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(42));
}
