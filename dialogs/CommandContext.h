// The context of a command on records over the real windows: the shared
// state of dialogs/Globals.h, the catalogue list view of the list pane, the
// list view and records of every open search results window, and the
// record statements on the catalogue's connection.  Made afresh whenever a command
// looks at them: after a nested modal loop the windows may have changed.
#pragma once
#include <windows.h>
#include <vector>
#include "dialogs/RecordCommands.h"
#include "listview/Win32ListView.h"

class CommandContext {
public:
    CommandContext();
    CommandContext(const CommandContext&) = delete;
    CommandContext& operator=(const CommandContext&) = delete;

    RecordCommandContext& get() { return context_; }

private:
    Win32ListView catalogueView_;
    std::vector<Win32ListView> resultsViews_;
    RecordCommandContext context_;
};
