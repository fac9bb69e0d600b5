// The context of a command on records over the real windows: the catalogue
// of dialogs/Globals.h, its list view and the view of every open search
// results window, and the record statements on the catalogue's connection.
// Made afresh whenever a command looks at them: after a nested modal loop
// the windows may have changed.
#pragma once
#include "dialogs/RecordCommands.h"

RecordCommandContext CurrentCommandContext();
