namespace pairly { void gamePlaceholder() {} }
