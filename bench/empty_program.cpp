// The least a program start costs: a C++ program of the panel's kind that
// does nothing. The floor of a harness session starts it.
int main() { return 0; }
