namespace pairly { void soundPlaceholder() {} }
