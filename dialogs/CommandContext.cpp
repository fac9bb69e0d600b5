#include "dialogs/CommandContext.h"

#include "dialogs/Globals.h"

CommandContext::CommandContext(int selectionIndex, bool fromResults, HWND resultsWindow)
    : catalogueView_(CatalogueListView()),
      resultsView_(resultsWindow ? ResultsListView(resultsWindow) : nullptr),
      context_{selectionIndex,
               fromResults,
               g_globals.catalogue.books,
               g_globals.hits,
               catalogueView_,
               resultsView_,
               {[](SaveMode mode, const BookPtr& book) { return SaveBookData(g_globals.catalogue, mode, book); },
                [](int32_t id) { return DeleteBookData(g_globals.catalogue, id); }}}
{
}
