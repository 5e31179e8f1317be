// Filled in by the window's work.
int main() { return 0; }
