#include "dialogs/CommandContext.h"

#include "dialogs/Globals.h"

RecordCommandContext CurrentCommandContext()
{
    return {g_globals.catalogue.books,
            *g_globals.catalogueView,
            g_globals.resultsViews,
            {[](SaveMode mode, const BookPtr& book) { return SaveBookData(g_globals.catalogue, mode, book); },
             [](BookId id) { return DeleteBookData(g_globals.catalogue, id); }}};
}
