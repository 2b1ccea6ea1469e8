// Placeholder until the editor lands.
