// layer_check_main.cpp - the program each link check builds around one
// layer and the layers beneath it (cmake/layers.cmake). It calls nothing:
// the link itself is the check, since every object of those layers is
// linked in and each of their calls must be resolved within them.
int main() { return 0; }
