#pragma once

#include <string>
#include <vector>

namespace pairly {

class Form1;

// What must hold between any two events of a game window, whatever the
// player did. Each broken rule is one line of the result; empty when all hold.
std::vector<std::string> brokenInvariants(Form1& form);

}  // namespace pairly
