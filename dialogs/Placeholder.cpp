// Removed once the first dialog source exists.
