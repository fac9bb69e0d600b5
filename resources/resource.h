// Every resource and control id of Tomebox, named once.
#pragma once

// String table
#define IDS_APP_TITLE               103
#define IDS_WINDOW_CLASS            109

// Menu and accelerator table of the main window
#define IDR_MAIN                    109

// Dialog templates
#define IDD_ABOUTBOX                103
#define IDD_COMMAND_BAR             104
#define IDD_LIST_PANE               105
#define IDD_BOOK_FORM               132
#define IDD_SEARCH_RESULTS          133
#define IDD_SEARCH_CONDITIONS       134
#define IDD_PROGRESS                135

// Menu commands
#define IDM_ABOUT                   104
#define IDM_EXIT                    105
#define IDM_EXPORT_CSV              106
#define IDM_IMPORT_CSV              107

// Command bar and search results buttons
#define IDC_NEW_BOOK                1003
#define IDC_DELETE_BOOK             1004
#define IDC_EDIT_BOOK               1020
#define IDC_SEARCH                  1023   // command bar only; the same id is the month box in the forms

// The list view of the list pane and of the search results window
#define IDC_BOOK_LIST               1005
// Where they say how many books they show: the results window's text and
// the main window's status bar
#define IDC_BOOK_COUNT              1033
#define IDC_STATUS_BAR              1034

// The progress window of a long import or export
#define IDC_PROGRESS_TEXT           1035
#define IDC_PROGRESS_BAR            1036

// Book form and search conditions: edit boxes
#define IDC_BOOK_NAME               1009
#define IDC_BOOK_NAME_KANA          1012
#define IDC_AUTHOR                  1014
#define IDC_AUTHOR_KANA             1016
#define IDC_ISBN                    1018
#define IDC_YEAR                    1021
#define IDC_MONTH                   1023
#define IDC_PLACE                   1026
#define IDC_PUBLISHER               1028
#define IDC_PUBLISHER_KANA          1030
#define IDC_PLACE_KANA              1032

// Book form and search conditions: labels and the lookup button
#define IDC_BOOK_NAME_LABEL         1010
#define IDC_BOOK_NAME_KANA_LABEL    1011
#define IDC_AUTHOR_LABEL            1013
#define IDC_AUTHOR_KANA_LABEL       1015
#define IDC_ISBN_LABEL              1017
#define IDC_ISBN_SEARCH             1019
#define IDC_MONTH_LABEL             1022
#define IDC_YEAR_LABEL              1024
#define IDC_PLACE_LABEL             1025
#define IDC_PUBLISHER_LABEL         1027
#define IDC_PUBLISHER_KANA_LABEL    1029
#define IDC_PLACE_KANA_LABEL        1031

#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif
