// Entry point of the desktop program.
int main() { return 0; }
