// The name of the program's own folder under the user's data location. It is
// kept in the program enciphered with Blowfish and deciphered when needed.
#pragma once

#include <string>

namespace qv {

// "Tembrix/Quorvel"; empty only if the built-in text cannot be deciphered.
std::string ProgramFolderName();

}  // namespace qv
