// Placeholder until the store has sources.
