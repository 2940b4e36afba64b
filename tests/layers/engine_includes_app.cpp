// Must not build: the engine cannot see the front end's headers.
#include "app/main_actions.h"

int main() {
    return 0;
}
