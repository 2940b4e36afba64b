// Must not build: the scan layer cannot see the html layer's header.
#include "html/html.h"

int main() {
    return 0;
}
