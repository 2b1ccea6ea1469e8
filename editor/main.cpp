// Placeholder until the editor lands.
int main() { return 0; }
