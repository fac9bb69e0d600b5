// Removed once the first Win32 lookup source exists.
