// The context of a command on records over the real windows: the shared
// state of dialogs/Globals.h, the catalogue list view of the list pane and
// the list view of a search results window, and the record statements on
// the catalogue's connection.
#pragma once
#include <windows.h>
#include "dialogs/RecordCommands.h"
#include "listview/Win32ListView.h"

class CommandContext {
public:
    // resultsWindow: the search results window whose rows the command reads
    // (from the results), or null.
    CommandContext(int selectionIndex, bool fromResults, HWND resultsWindow);
    CommandContext(const CommandContext&) = delete;
    CommandContext& operator=(const CommandContext&) = delete;

    RecordCommandContext& get() { return context_; }

private:
    Win32ListView catalogueView_;
    Win32ListView resultsView_;
    RecordCommandContext context_;
};
