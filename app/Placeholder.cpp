// Removed once the first shell source exists.
