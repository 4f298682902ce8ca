// main.cpp - the scratch link check's program: it calls nothing, so only
// the layers' own calls must be resolved.
int main() { return 0; }
