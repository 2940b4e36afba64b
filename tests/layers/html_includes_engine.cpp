// Must not build: the html layer cannot see the engine's header.
#include "engine/engine.h"

int main() {
    return 0;
}
