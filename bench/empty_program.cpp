// empty_program: the least a C++ program of ours can cost to start. It prints one line through
// the C++ library, linked as zanfor-cli is (the C++ library shared), so that bench.py can show
// how much of a command's start is the program's own and how much the machine's floor.

#include <iostream>

int main() {
    std::cout << "zanfor\n";
    return 0;
}
