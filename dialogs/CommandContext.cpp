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
    // Reserved, so that the views the context refers to stay in place.
    resultsViews_.reserve(g_globals.resultsWindows.size());
    for (ResultsWindow* open : g_globals.resultsWindows) {
        resultsViews_.emplace_back(ResultsListView(open->window));
        context_.results.push_back({resultsViews_.back(), open->records});
    }
}
