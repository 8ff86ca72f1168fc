// Entry point of the saver.
int main() { return 0; }
