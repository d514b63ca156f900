namespace pairly { void uiCommonPlaceholder() {} }
