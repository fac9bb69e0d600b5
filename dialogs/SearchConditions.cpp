#include "dialogs/SearchConditions.h"

// Not built yet.
INT_PTR OpenSearchConditions(HWND) { return 2; }
