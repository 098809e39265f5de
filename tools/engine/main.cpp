// kiryuza-engine: the searching player behind the engine protocol on stdin and stdout.
#include <iostream>
#include <string>

#include "usi.h"

int main() {
    kiryuza::UsiSession session(std::cout);
    std::string line;
    while (std::getline(std::cin, line))
        if (!session.handle(line)) return 0;
    // The end of the input ends the session as quit does.
    session.handle("quit");
    return 0;
}
