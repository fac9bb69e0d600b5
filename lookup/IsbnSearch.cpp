#include "lookup/IsbnSearch.h"

#include <string>

#include "lookup/LookupBoundary.h"
#include "lookup/LookupWorkers.h"
#include "resources/resource.h"

void RunIsbnSearchCommand(HWND form)
{
    WCHAR isbn[256] = {};
    GetDlgItemTextW(form, IDC_ISBN, isbn, 256);
    if (isbn[0] == 0) return;
    // The continuations must run on the lookup workers; this does nothing
    // when WinMain has started them already.
    StartLookupWorkers();
    StartVolumeLookup(reinterpret_cast<LookupFormHandle>(form),
                      std::u16string(reinterpret_cast<const char16_t*>(isbn)));
}
