# serial line: filled in by its own change
