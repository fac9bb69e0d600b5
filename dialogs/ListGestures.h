// What a book list view answers to of itself, the same in the main window
// and in a search results window: a header click sorts it, a double-click
// on a row or Enter opens the book form on that row's book, and the Delete
// key deletes the selected book after asking.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "listview/BookView.h"

// A notification of the view's control; others are left alone.  Forms and
// boxes are owned by owner.
void OnBookListNotice(HWND owner, BookView& view, const NMHDR& notice);

// The book form on the book of the selected row; nothing when none is.
void EditSelectedBook(HWND owner, const BookView& view);
