#include "app/Globals.h"

HINSTANCE g_appInstance = nullptr;
CatalogueConnection g_catalogueDb;
BookList g_catalogue;
BookList g_hits;
int g_selectionIndex = -1;
bool g_resultsEditFlag = false;
HWND g_resultsWindow = nullptr;
HWND g_commandBar = nullptr;
HWND g_listPane = nullptr;
