// A program that does nothing; its resources carry version 2.20.0.0, as a
// host's executable would, for the version reader tests.

int main() { return 0; }
