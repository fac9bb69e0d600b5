#include "dialogs/CommandContext.h"

#include "dialogs/Globals.h"

CommandContext::CommandContext()
    : catalogueView_(CatalogueListView()),
      context_{g_globals.catalogue.books,
               g_globals.hits,
               catalogueView_,
               {},
               {[](SaveMode mode, const BookPtr& book) { return SaveBookData(g_globals.catalogue, mode, book); },
                [](BookId id) { return DeleteBookData(g_globals.catalogue, id); }}}
{
    resultsViews_.reserve(g_globals.resultsWindows.size());
    for (HWND window : g_globals.resultsWindows) {
        resultsViews_.emplace_back(ResultsListView(window));
        context_.resultsViews.push_back(&resultsViews_.back());
    }
}
