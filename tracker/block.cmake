# configuration block: filled in by its own change
