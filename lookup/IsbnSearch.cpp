#include "lookup/IsbnSearch.h"

#include <string>

#include "lookup/LookupBoundary.h"
#include "resources/resource.h"

void RunIsbnSearchCommand(HWND form)
{
    WCHAR isbn[256] = {};
    GetDlgItemTextW(form, IDC_ISBN, isbn, 256);
    if (isbn[0] == 0) return;
    StartVolumeLookup(reinterpret_cast<LookupFormHandle>(form),
                      std::u16string(reinterpret_cast<const char16_t*>(isbn)));
}
