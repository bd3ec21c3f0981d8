// Placeholder entry point until the run driver is written.
int main() { return 1; }
