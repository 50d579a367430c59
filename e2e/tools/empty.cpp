// The smallest GUI program of the same toolchain, to time others against.
int main() { return 0; }
