#include <cstdio>

int main() {
    std::puts("hivora-cli: not yet built");
    return 2;
}
