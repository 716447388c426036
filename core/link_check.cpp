// Linked with one room whole and the rooms below it: see CMakeLists.txt.
int main() { return 0; }
