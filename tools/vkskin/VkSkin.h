// vkskin: makes and inspects skin files.
//   vkskin pack <folder> <file.skn> [--format 70000]
//   vkskin unpack <file.skn> <folder>
//   vkskin info <file.skn>
//   vkskin check <file.skn>
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs one command; args exclude the program name and are UTF-8. Returns the
// exit code: 0 on success, 1 when the command failed (one line on err saying
// why), 2 for a usage error.
int RunVkSkin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
