// Until the application shell lands, the program only says what it is.
#include <cstdio>

int main() {
    std::puts("Orvane Configurator: the window is not built yet; use orvanectl --simulate list.");
    return 0;
}
