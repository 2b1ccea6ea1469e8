// Placeholder until the asset generator lands.
int main() { return 0; }
