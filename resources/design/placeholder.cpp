namespace pairly { void designPlaceholder() {} }
