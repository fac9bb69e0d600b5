#include "dialogs/BookForm.h"

// Not built yet.
INT_PTR OpenBookForm(HWND) { return 2; }
