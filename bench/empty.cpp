// The benchmark's reference process: everything a C++ program costs before
// it does anything.
int main() {}
